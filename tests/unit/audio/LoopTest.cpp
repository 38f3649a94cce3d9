// Looping a stream: which decoded samples are played, pass after pass, and the
// PCM source over a decoder double.
#include <gtest/gtest.h>

#include <numeric>

#include "audio/LoopTrimmer.h"
#include "audio/Mp3PcmSource.h"
#include "audio/Mp3Stream.h"
#include "unit/audio/Mp3Bytes.h"

using namespace mp3test;

namespace {

// Sample indices kept by the trimmer over nTotal samples, fed in chunks.
std::vector<uint64_t> Kept(LoopTrimmer& t, uint64_t nTotal, size_t nChunk) {
    std::vector<uint64_t> kept;
    uint64_t pos = 0;
    while (pos < nTotal) {
        size_t nAvail = size_t(std::min<uint64_t>(nChunk, nTotal - pos));
        while (nAvail > 0) {
            bool bKeep = false;
            const size_t n = t.NextRun(nAvail, &bKeep);
            EXPECT_GT(n, 0u);
            for (size_t i = 0; bKeep && i < n; ++i) kept.push_back(pos + i);
            pos += n;
            nAvail -= n;
        }
    }
    return kept;
}

TEST(LoopTrimmer, KeepsTheWindowOfEveryPass) {
    // Pass of 10, keep [3, 9): then [13, 19), [23, 29) ...
    for (size_t nChunk : {1, 3, 7, 10, 64}) {
        LoopTrimmer t(10, 3, 6);
        const std::vector<uint64_t> kept = Kept(t, 30, nChunk);
        const std::vector<uint64_t> expected = {3, 4, 5, 6, 7, 8, 13, 14, 15, 16, 17, 18,
                                                23, 24, 25, 26, 27, 28};
        EXPECT_EQ(expected, kept) << "chunk " << nChunk;
    }
}

TEST(LoopTrimmer, WindowReachingIntoTheNextPass) {
    // Small padding: the window wraps; nothing before the first window plays.
    LoopTrimmer t(10, 8, 7);
    const std::vector<uint64_t> expected = {8, 9, 10, 11, 12, 13, 14, 18, 19, 20, 21, 22, 23, 24};
    EXPECT_EQ(expected, Kept(t, 25, 4));
}

TEST(LoopTrimmer, UnusableWindowKeepsEverything) {
    for (auto w : {std::pair<uint64_t, uint64_t>{0, 0}, {2, 11}}) {
        LoopTrimmer t(10, w.first, w.second);
        EXPECT_EQ(20u, Kept(t, 20, 6).size());
    }
}

// Decodes each frame to nSamplesPerFrame stereo samples numbered on from the
// frame's fill byte, holding back one frame like a codec with latency.
class LatencyDecoder : public Mp3FrameDecoder {
public:
    explicit LatencyDecoder(unsigned nSamples) : m_nSamples(nSamples) {}
    bool Decode(const uint8_t* p, size_t, std::vector<int16_t>& pcm) override {
        Emit(pcm);
        m_held = p[100];
        m_bHeld = true;
        return true;
    }
    void Flush(std::vector<int16_t>& pcm) override { Emit(pcm); }
    void Reset() override { m_bHeld = false; }
    int nDecoded = 0;

private:
    void Emit(std::vector<int16_t>& pcm) {
        if (!m_bHeld) return;
        for (unsigned i = 0; i < m_nSamples; ++i) {
            pcm.push_back(int16_t(m_held * 1000 + i));
            pcm.push_back(int16_t(-(m_held * 1000 + i)));
        }
        m_bHeld = false;
        ++nDecoded;
    }
    unsigned m_nSamples;
    uint8_t m_held = 0;
    bool m_bHeld = false;
};

TEST(Mp3PcmSource, LoopsSeamlesslyAcrossTheHeldBackFrame) {
    // Three audio frames (fill 1, 2, 3) after an Info frame: delay 100, padding
    // 700 of 3456 samples, so each pass keeps 2656 samples starting at 629.
    Bytes file = InfoFrame("Info", 3, 100, 700);
    for (uint8_t f = 1; f <= 3; ++f) Append(file, CbrFrame(f));
    Mp3Stream stream;
    ASSERT_TRUE(stream.Parse(file.data(), file.size()));
    LatencyDecoder decoder(1152);
    Mp3PcmSource source(file.data(), stream, decoder);
    source.SetLooping(true);

    std::vector<int16_t> pcm(2 * 3 * 2656);
    ASSERT_EQ(3u * 2656, source.Read(pcm.data(), 3 * 2656));
    // The decoded signal is continuous over passes: sample k of the decoder's
    // output is frame (k / 1152) % 3 + 1, position k % 1152.
    auto expectedAt = [](uint64_t k) { return int16_t(((k / 1152) % 3 + 1) * 1000 + k % 1152); };
    for (uint64_t pass = 0; pass < 3; ++pass)
        for (uint64_t i = 0; i < 2656; i += 1) {
            const uint64_t k = pass * 3456 + 629 + i;
            ASSERT_EQ(expectedAt(k), pcm[2 * (pass * 2656 + i)]) << pass << " " << i;
            ASSERT_EQ(-expectedAt(k), pcm[2 * (pass * 2656 + i) + 1]);
        }
}

TEST(Mp3PcmSource, EndsWithoutLoopAndRewinds) {
    Bytes file;
    for (uint8_t f = 1; f <= 2; ++f) Append(file, CbrFrame(f));
    Mp3Stream stream;
    ASSERT_TRUE(stream.Parse(file.data(), file.size()));
    LatencyDecoder decoder(1152);
    Mp3PcmSource source(file.data(), stream, decoder);
    std::vector<int16_t> pcm(2 * 4000);
    // Not looping: both frames, the held-back one flushed, then the end.
    EXPECT_EQ(2304u, source.Read(pcm.data(), 4000));
    EXPECT_EQ(0u, source.Read(pcm.data(), 4000));
    source.Rewind();
    EXPECT_EQ(2304u, source.Read(pcm.data(), 4000));
    EXPECT_EQ(1000, pcm[0]);
}

// A decoder that never gives anything must not make a loop spin forever.
class SilentDecoder : public Mp3FrameDecoder {
public:
    bool Decode(const uint8_t*, size_t, std::vector<int16_t>&) override { return false; }
    void Flush(std::vector<int16_t>&) override {}
    void Reset() override {}
};

TEST(Mp3PcmSource, LoopOfNothingEnds) {
    Bytes file;
    for (int i = 0; i < 2; ++i) Append(file, CbrFrame());
    Mp3Stream stream;
    ASSERT_TRUE(stream.Parse(file.data(), file.size()));
    SilentDecoder decoder;
    Mp3PcmSource source(file.data(), stream, decoder);
    source.SetLooping(true);
    int16_t pcm[64];
    EXPECT_EQ(0u, source.Read(pcm, 32));
}

}  // namespace
