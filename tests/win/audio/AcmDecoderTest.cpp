// The system's MP3 codec as the audio library drives it: every frame of a real
// file decodes, and the codec gives its buffers back when the stream closes.
// Windows refuses to unprepare a header whose lengths differ from those it was
// prepared with (each music off/on cycle would then leak the codec's buffers);
// Wine only refuses larger ones, so the link wraps the two calls to apply
// Windows' rule before the real ones run.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <utility>
#include <vector>

#include "audio/AcmMp3Decoder.h"
#include "audio/Mp3Stream.h"
#include "win/audio/ToneFile.h"

namespace {
std::map<LPACMSTREAMHEADER, std::pair<DWORD, DWORD>> g_prepared;
}

extern "C" {
MMRESULT WINAPI __real_acmStreamPrepareHeader(HACMSTREAM, LPACMSTREAMHEADER, DWORD);
MMRESULT WINAPI __real_acmStreamUnprepareHeader(HACMSTREAM, LPACMSTREAMHEADER, DWORD);
MMRESULT WINAPI __wrap_acmStreamPrepareHeader(HACMSTREAM h, LPACMSTREAMHEADER p, DWORD f) {
    g_prepared[p] = {p->cbSrcLength, p->cbDstLength};
    return __real_acmStreamPrepareHeader(h, p, f);
}
MMRESULT WINAPI __wrap_acmStreamUnprepareHeader(HACMSTREAM h, LPACMSTREAMHEADER p, DWORD f) {
    if (g_prepared[p] != std::make_pair(p->cbSrcLength, p->cbDstLength)) return MMSYSERR_INVALPARAM;
    return __real_acmStreamUnprepareHeader(h, p, f);
}
}

TEST(AcmMp3Decoder, DecodesARealFileAndGivesItsBuffersBack) {
    std::ifstream in(ToneNextToProgram(), std::ios::binary);
    const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    Mp3Stream stream;
    ASSERT_TRUE(stream.Parse(file.data(), file.size()));
    AcmMp3Decoder decoder;
    ASSERT_TRUE(decoder.Open(stream.firstHeader));
    std::vector<int16_t> pcm;
    for (const Mp3FrameRef& frame : stream.frames) {
        size_t nUsed = 0;
        ASSERT_TRUE(decoder.Decode(file.data() + frame.nOffset, frame.nLength, &nUsed, pcm));
    }
    // The codec may hold up to a frame back, but gives the rest.
    EXPECT_GE(pcm.size(), 2 * (stream.nPassSamples - 1152));
    EXPECT_TRUE(decoder.Close());
}
