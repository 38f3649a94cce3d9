// Turns an MP3 stream in memory into a continuous run of PCM: frames are fed to
// the decoder in order and, when looping, the first audio frame follows the
// last one directly. LoopTrimmer drops the encoder's delay and padding.
// The trimmer follows the frames fed, not an assumed sample count: once the
// decoder gives output, each frame's samples are placed where that frame lies
// in the timeline (less the lag the decoder showed at its start), so a frame
// that yields nothing leaves a gap in its own pass but moves no loop point.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/LoopTrimmer.h"
#include "audio/Mp3FrameDecoder.h"
#include "audio/Mp3Stream.h"

class Mp3PcmSource {
public:
    // pData, stream and decoder must outlive the source.
    Mp3PcmSource(const uint8_t* pData, const Mp3Stream& stream, Mp3FrameDecoder& decoder);

    // Fills up to nFrames sample frames (all channels) into pDst and answers
    // how many; fewer only at the end of a non-looping stream.
    size_t Read(int16_t* pDst, size_t nFrames);
    void SetLooping(bool bLoop) { m_bLoop.store(bLoop); }
    // Starts again from the first audio frame.
    void Rewind();
    unsigned Channels() const { return m_nChannels; }

private:
    bool Refill();
    void FeedNextFrame();
    void Place();
    void AppendTrimmed(const int16_t* p, size_t nFrames);

    const uint8_t* m_pData;
    const Mp3Stream& m_stream;
    Mp3FrameDecoder& m_decoder;
    unsigned m_nChannels;
    LoopTrimmer m_trimmer;
    std::atomic<bool> m_bLoop{false};
    size_t m_nNextFrame = 0;
    bool m_bEnded = false;
    bool m_bOutputThisPass = false;
    uint64_t m_nFed = 0;       // timeline samples of the frames fed so far
    bool m_bRunning = false;   // the decoder has given output since the start
    uint64_t m_nLag = 0;       // timeline samples it was behind at that point
    std::vector<uint8_t> m_input;    // bytes the decoder has not taken yet
    std::vector<int16_t> m_decoded;
    std::vector<int16_t> m_pending;  // kept samples not yet read
    size_t m_nPendingRead = 0;
};
