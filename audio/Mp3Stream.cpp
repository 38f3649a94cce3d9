#include "audio/Mp3Stream.h"

#include <vector>

#include "audio/Id3Tags.h"
#include "audio/Mp3InfoTag.h"

namespace {
// Frames in a row that a stream is locked onto from.
constexpr uint64_t kLockFrames = 8;
// Frames walked between two questions whether to stop.
constexpr uint64_t kFramesPerStopCheck = 1024;

// Frames of one stream in a row: junk between them does not end a run, a frame
// of another stream does.
struct Run {
    Mp3FrameHeader header;  // of its first audio frame
    uint64_t nBegin = 0;    // offset of that frame
    uint64_t nFrames = 0;   // audio frames, a header frame at its start excluded
    Mp3InfoTag tag;         // of that header frame

    bool LongerThan(const Run& other) const {  // in time; at most 2^31 bytes of frames
        return nFrames * header.nSamplesPerFrame * other.header.nSampleRate >
               other.nFrames * other.header.nSamplesPerFrame * header.nSampleRate;
    }
};

// The runs of each stream seen: its longest, and the first one to lock onto.
class StreamChooser {
public:
    // p holds the frame's bytes.
    void Add(const Mp3Frame& frame, const uint8_t* p) {
        if (m_bInRun && frame.header.SameStreamAs(m_run.header)) return Count(frame);
        Close();
        m_run = Run();
        m_run.header = frame.header;
        m_bInRun = true;
        m_run.tag = Mp3InfoTag::Parse(p, frame.header);
        if (m_run.tag.eKind == Mp3InfoTag::Kind::None) Count(frame);
    }

    // False when no stream has an audio frame.
    bool Choose(Run* pRun) {
        Close();
        const Stream* pBest = nullptr;
        for (const Stream& s : m_streams)
            if (!pBest || s.longest.LongerThan(pBest->longest)) pBest = &s;
        if (!pBest || pBest->longest.nFrames == 0) return false;
        *pRun = pBest->bLockable ? pBest->lockable : pBest->longest;
        return true;
    }

private:
    struct Stream {
        Run longest;
        bool bLockable = false;
        Run lockable;  // its first run of kLockFrames frames or more
    };

    void Count(const Mp3Frame& frame) {
        if (m_run.nFrames == 0) {
            m_run.header = frame.header;
            m_run.nBegin = frame.nOffset;
        }
        ++m_run.nFrames;
    }

    void Close() {
        if (!m_bInRun) return;
        m_bInRun = false;
        Stream* pStream = nullptr;
        for (Stream& s : m_streams)
            if (s.longest.header.SameStreamAs(m_run.header)) pStream = &s;
        if (!pStream) {
            m_streams.emplace_back();
            pStream = &m_streams.back();
            pStream->longest = m_run;
        } else if (m_run.LongerThan(pStream->longest)) {
            pStream->longest = m_run;
        }
        if (!pStream->bLockable && m_run.nFrames >= kLockFrames) {
            pStream->bLockable = true;
            pStream->lockable = m_run;
        }
    }

    std::vector<Stream> m_streams;  // a few at most: 18 formats exist
    Run m_run;
    bool m_bInRun = false;
};
}  // namespace

bool Mp3Stream::Parse(ByteWindow& bytes, const std::function<bool()>& stopped) {
    *this = Mp3Stream();
    if (bytes.Size() > kMaxMusicFileSize) return false;
    // The walker skips ID3v2 tags at the start as it does between frames.
    const uint64_t nEnd = Id3Tags::AudioEnd(bytes, 0);
    Mp3FrameWalker walker(bytes, 0, nEnd);
    StreamChooser chooser;
    Mp3Frame frame;
    for (uint64_t nFrames = 0;;) {
        const Mp3FrameWalker::Step step = walker.Next(&frame);
        if (step == Mp3FrameWalker::Step::End) break;
        const bool bFrame = step == Mp3FrameWalker::Step::Frame;
        if ((!bFrame || ++nFrames % kFramesPerStopCheck == 0) && stopped && stopped()) return false;
        if (!bFrame) continue;
        size_t nGot = 0;
        const uint8_t* p = bytes.At(frame.nOffset, frame.header.nFrameLength, &nGot);
        if (nGot < frame.header.nFrameLength) return false;
        chooser.Add(frame, p);
    }
    Run run;
    if (bytes.Failed() || !chooser.Choose(&run)) return false;
    firstHeader = run.header;
    nAudioBegin = run.nBegin;
    nAudioEnd = nEnd;
    if (run.tag.bHasLame) {
        bGapless = true;
        nEncoderDelay = run.tag.nEncoderDelay;
        nPadding = run.tag.nPadding;
    }
    return true;
}
