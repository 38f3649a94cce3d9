#include "audio/Mp3Stream.h"

#include "audio/Id3Tags.h"
#include "audio/Mp3FrameWalker.h"
#include "audio/Mp3InfoTag.h"

namespace {
// The next frame, scanning on while no stop is asked for.
bool NextFrame(Mp3FrameWalker& walker, Mp3Frame* pFrame, const std::function<bool()>& stopped) {
    for (;;) {
        const Mp3FrameWalker::Step step = walker.Next(pFrame);
        if (step != Mp3FrameWalker::Step::Later) return step == Mp3FrameWalker::Step::Frame;
        if (stopped && stopped()) return false;
    }
}
}  // namespace

bool Mp3Stream::Parse(ByteWindow& bytes, const std::function<bool()>& stopped) {
    *this = Mp3Stream();
    // The walker skips ID3v2 tags at the start as it does between frames.
    const uint64_t nEnd = Id3Tags::AudioEnd(bytes, 0);
    Mp3FrameWalker walker(bytes, 0, nEnd);
    Mp3Frame frame;
    if (!NextFrame(walker, &frame, stopped)) return false;
    size_t nGot = 0;
    const uint8_t* p = bytes.At(frame.nOffset, frame.header.nFrameLength, &nGot);
    if (nGot < frame.header.nFrameLength) return false;
    const Mp3InfoTag tag = Mp3InfoTag::Parse(p, frame.header);
    if (tag.eKind != Mp3InfoTag::Kind::None && !NextFrame(walker, &frame, stopped)) return false;
    firstHeader = frame.header;
    nAudioBegin = frame.nOffset;
    nAudioEnd = nEnd;
    if (tag.bHasLame) {
        bGapless = true;
        nEncoderDelay = tag.nEncoderDelay;
        nPadding = tag.nPadding;
    }
    return true;
}
