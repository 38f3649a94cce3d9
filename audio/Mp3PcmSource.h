// Turns an MP3 stream into a continuous run of PCM: frames are walked and fed
// to the decoder in order and, when looping, the first audio frame follows the
// last one directly. LoopTrimmer drops the encoder's delay and padding.
// The trimmer follows the frames fed, not an assumed sample count: once the
// decoder gives output, each frame's samples are placed where that frame lies
// in the timeline (less the lag the decoder showed at its start), so a frame
// that yields nothing leaves a gap in its own pass but moves no loop point.
// The file is read as it plays, a window at a time, and read afresh at every
// pass: a file that shrinks or goes away ends the music.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "audio/ByteWindow.h"
#include "audio/LoopTrimmer.h"
#include "audio/Mp3FrameDecoder.h"
#include "audio/Mp3FrameWalker.h"
#include "audio/Mp3Stream.h"

class Mp3PcmSource {
public:
    // bytes, stream and decoder must outlive the source.
    Mp3PcmSource(ByteSource& bytes, const Mp3Stream& stream, Mp3FrameDecoder& decoder);

    // Fills up to nFrames sample frames (all channels) into pDst and answers
    // how many. Each call does a bounded amount of work, so it may answer
    // fewer, even none, before Ended().
    size_t Read(int16_t* pDst, size_t nFrames);
    // Nothing more will come: a stream that does not loop has ended, a loop
    // keeps giving nothing, or the file can no longer be read as it was.
    bool Ended() const { return m_bEnded && m_nPendingRead == m_pending.size(); }
    void SetLooping(bool bLoop) { m_bLoop.store(bLoop); }
    // Starts again from the first audio frame.
    void Rewind();
    unsigned Channels() const { return m_nChannels; }

private:
    bool Refill();
    void StartPass();
    void WalkAhead();
    void Feed(const Mp3Frame& frame);
    void End();
    void Place();
    void AppendTrimmed(const int16_t* p, size_t nFrames);

    ByteWindow m_window;
    const Mp3Stream& m_stream;
    Mp3FrameDecoder& m_decoder;
    unsigned m_nChannels;
    size_t m_nWalkAhead;  // frames found ahead of the one fed
    LoopTrimmer m_trimmer;
    std::atomic<bool> m_bLoop{false};
    Mp3FrameWalker m_walker;
    std::deque<Mp3Frame> m_ahead;
    bool m_bWalked = false;           // the pass's last frame has been found
    uint64_t m_nPassFrames = 0;       // frames found in this pass
    uint64_t m_nFirstPassFrames = 0;  // 0 until the first pass has been walked
    uint64_t m_nFedSinceKept = 0;     // frames fed since a sample was last kept
    bool m_bEnded = false;
    uint64_t m_nFed = 0;       // timeline samples of the frames fed so far
    bool m_bRunning = false;   // the decoder has given output since the start
    uint64_t m_nLag = 0;       // timeline samples it was behind at that point
    std::vector<uint8_t> m_input;    // bytes the decoder has not taken yet
    std::vector<int16_t> m_decoded;
    std::vector<int16_t> m_pending;  // kept samples not yet read
    size_t m_nPendingRead = 0;
};
