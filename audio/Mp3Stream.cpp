#include "audio/Mp3Stream.h"

#include "audio/Id3Tags.h"
#include "audio/Mp3Format.h"
#include "audio/Mp3FrameWalker.h"
#include "audio/Mp3InfoTag.h"

bool Mp3Stream::Parse(const uint8_t* pData, size_t nSize) {
    *this = Mp3Stream();
    if (pData == nullptr) return false;
    const size_t nBegin = Id3Tags::SkipId3v2(pData, nSize);
    Mp3FrameWalker walker(pData, nBegin, Id3Tags::AudioEnd(pData, nBegin, nSize));
    Mp3Frame frame;
    if (!walker.Next(&frame)) return false;
    const Mp3InfoTag tag = Mp3InfoTag::Parse(pData + frame.nOffset, frame.header);
    if (tag.eKind != Mp3InfoTag::Kind::None && !walker.Next(&frame)) return false;
    firstHeader = frame.header;
    do {
        frames.push_back({frame.nOffset, frame.header.nFrameLength});
    } while (walker.Next(&frame));

    nPassSamples = uint64_t(frames.size()) * firstHeader.nSamplesPerFrame;
    nKeepLength = nPassSamples;
    const uint64_t nTrim = uint64_t(tag.nEncoderDelay) + tag.nPadding;
    if (tag.bHasLame && nTrim < nPassSamples) {
        bGapless = true;
        nKeepStart = tag.nEncoderDelay;
        nKeepLength = nPassSamples - nTrim;
    }
    return true;
}
