#include "audio/Mp3Stream.h"

#include "audio/Id3Tags.h"
#include "audio/Mp3FrameWalker.h"
#include "audio/Mp3InfoTag.h"

bool Mp3Stream::Parse(ByteWindow& bytes) {
    *this = Mp3Stream();
    const uint64_t nBegin = Id3Tags::SkipId3v2(bytes);
    const uint64_t nEnd = Id3Tags::AudioEnd(bytes, nBegin);
    Mp3FrameWalker walker(bytes, nBegin, nEnd);
    Mp3Frame frame;
    if (!walker.Next(&frame)) return false;
    size_t nGot = 0;
    const uint8_t* p = bytes.At(frame.nOffset, frame.header.nFrameLength, &nGot);
    if (nGot < frame.header.nFrameLength) return false;
    const Mp3InfoTag tag = Mp3InfoTag::Parse(p, frame.header);
    if (tag.eKind != Mp3InfoTag::Kind::None && !walker.Next(&frame)) return false;
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
