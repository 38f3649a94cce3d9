// The system's MP3 codec as the audio library drives it: a real file loops
// seamlessly, and the codec gives its buffers back when the stream closes.
// Windows refuses to unprepare a header whose lengths differ from those it was
// prepared with (each music off/on cycle would then leak the codec's buffers);
// Wine only refuses larger ones, so the link wraps the two calls to apply
// Windows' rule before the real ones run.
#include <map>
#include <utility>
#include <vector>

#include "audio/AcmMp3Decoder.h"
#include "audio/FileByteSource.h"
#include "audio/Mp3PcmSource.h"
#include "audio/Mp3Stream.h"
#include "support/audio/SineBreak.h"
#include "win/TestPack.h"

static std::map<LPACMSTREAMHEADER, std::pair<DWORD, DWORD>> g_prepared;

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

// The loop seam as the system's own codec makes it: three passes of the
// one-second tone (44,100 samples, 440 whole periods) must be one unbroken
// sine. The codec that ships with Windows may hold back or trim otherwise
// than Wine's; this is the test to run there.
TEST(AcmMp3Decoder, LoopsTheToneSeamlesslyAndGivesItsBuffersBack) {
    FERRO_SKIP_IF(MissingMp3Codec());
    FileByteSource bytes;  // the file read as the music is
    ASSERT_TRUE(bytes.Open(ToneNextToProgram().c_str(), 0, 0));
    ByteWindow head(bytes);
    Mp3Stream stream;
    ASSERT_TRUE(stream.Parse(head));
    AcmMp3Decoder decoder;
    ASSERT_TRUE(decoder.Open(stream.firstHeader));
    {
        Mp3PcmSource source(bytes, stream, decoder);
        source.SetLooping(true);
        constexpr size_t kTone = 44100, kPasses = 3;
        std::vector<int16_t> pcm(2 * kTone * kPasses);
        size_t nRead = 0;
        for (int i = 0; i < 10000 && nRead < kTone * kPasses; ++i)
            nRead += source.Read(pcm.data() + 2 * nRead, kTone * kPasses - nRead);
        ASSERT_EQ(kTone * kPasses, nRead);
        for (int channel = 0; channel < 2; ++channel) {
            std::vector<double> s;
            for (size_t k = size_t(channel); k < pcm.size(); k += 2) s.push_back(pcm[k]);
            EXPECT_LT(SineBreakSamples(s.data(), 0, s.size() - 1, 64, 440, 44100), 0.5) << "channel " << channel;
        }
    }
    EXPECT_TRUE(decoder.Close());
}
