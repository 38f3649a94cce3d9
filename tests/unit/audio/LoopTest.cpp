// Looping through the PCM source over a fake codec whose output is a counter:
// the kept samples of pass after pass must count on 0, 1, 2 ... without a cut
// and without padding, whatever the codec does with its frames.
#include <gtest/gtest.h>

#include "audio/Mp3PcmSource.h"
#include "audio/Mp3Stream.h"
#include "unit/audio/Mp3Bytes.h"

using namespace mp3test;

namespace {

constexpr unsigned kN = 1152, kFrames = 4, kPass = kN * kFrames, kDelay = 576;
constexpr int16_t kPadding = 30000;  // what the encoder added around its input

struct Behaviour {
    const char* pszName;
    unsigned nDelay;      // the codec's own delay
    unsigned nHeld;       // frames it holds back before giving their samples
    int nLostFrame;       // frame of every pass that yields nothing (-1: none)
    size_t nMaxTake;      // bytes it takes per call (0: all)
    size_t nMinTake;      // takes nothing from fewer bytes than this
    bool bRefuses;        // fails every frame
};

class FakeCodec : public Mp3FrameDecoder {
public:
    FakeCodec(const Behaviour& b, unsigned nKeep) : m_b(b), m_nKeep(nKeep) {}
    bool Decode(const uint8_t*, size_t nLength, size_t* pUsed, std::vector<int16_t>& pcm) override {
        if (m_b.bRefuses) return false;
        *pUsed = nLength < m_b.nMinTake ? 0 : m_b.nMaxTake ? std::min(m_b.nMaxTake, nLength) : nLength;
        for (m_nTaken += *pUsed; m_nTaken >= 417; m_nTaken -= 417)
            if (m_nFed++ >= m_b.nHeld) Emit(m_nFed - 1 - m_b.nHeld, pcm);
        return true;
    }
    void Flush(std::vector<int16_t>&) override {}
    void Reset() override { m_nFed = m_nTaken = 0; }
    unsigned Delay() const override { return m_b.nDelay; }

private:
    // The samples of decoded frame k: the encoder's timeline, m_b.nDelay later.
    void Emit(uint64_t k, std::vector<int16_t>& pcm) {
        if (int(k % kFrames) == m_b.nLostFrame) return;
        for (uint64_t x = k * kN; x < (k + 1) * kN; ++x) {
            const uint64_t u = (x + kPass - m_b.nDelay) % kPass;  // position in a pass
            const bool bInput = x >= m_b.nDelay && u >= kDelay && u < kDelay + m_nKeep;
            pcm.insert(pcm.end(), 2, bInput ? int16_t(u - kDelay) : kPadding);  // stereo
        }
    }
    Behaviour m_b;
    unsigned m_nKeep;
    uint64_t m_nFed = 0;
    size_t m_nTaken = 0;
};

// What a listener should hear: the counter, less the samples of a lost frame.
std::vector<int16_t> Expected(const Behaviour& b, unsigned nKeep, size_t nPasses) {
    std::vector<int16_t> v;
    for (uint64_t i = 0; i < nPasses * nKeep; ++i) {
        const uint64_t x = (i / nKeep) * kPass + kDelay + b.nDelay + i % nKeep;
        if (int(x / kN % kFrames) != b.nLostFrame) v.push_back(int16_t(i % nKeep));
    }
    return v;
}

TEST(Mp3PcmSource, LoopsWithoutCutOrPadding) {
    const Behaviour cases[] = {
        {"plain", 529, 0, -1, 0, 0, false},
        {"holds a frame back", 529, 1, -1, 0, 0, false},
        {"other delay", 1105, 0, -1, 0, 0, false},
        {"a frame yields nothing", 529, 0, 2, 0, 0, false},
        {"takes part of a frame", 529, 0, -1, 300, 0, false},
        {"waits for more bytes", 529, 0, -1, 0, 600, false},
    };
    for (unsigned nPadding : {1000u, 200u}) {  // 200: the window reaches into the next pass
        const unsigned nKeep = kPass - kDelay - nPadding;
        Bytes file = InfoFrame("Info", kFrames, kDelay, nPadding);
        for (unsigned f = 0; f < kFrames; ++f) Append(file, CbrFrame());
        Mp3Stream stream;
        ASSERT_TRUE(stream.Parse(file.data(), file.size()));
        for (const Behaviour& b : cases) {
            SCOPED_TRACE(testing::Message() << b.pszName << ", padding " << nPadding);
            FakeCodec codec(b, nKeep);
            Mp3PcmSource source(file.data(), stream, codec);
            source.SetLooping(true);
            const std::vector<int16_t> expected = Expected(b, nKeep, 5);
            std::vector<int16_t> pcm(2 * expected.size());
            ASSERT_EQ(expected.size(), source.Read(pcm.data(), expected.size()));
            std::vector<int16_t> left;
            for (size_t i = 0; i < pcm.size(); i += 2) left.push_back(pcm[i]);
            EXPECT_EQ(expected, left);
            source.Rewind();
            ASSERT_EQ(expected.size(), source.Read(pcm.data(), expected.size()));
            EXPECT_EQ(expected[0], pcm[0]) << "after a rewind";
        }
    }
}

TEST(Mp3PcmSource, LoopOfNothingEnds) {
    Bytes file = CbrFrame();
    Append(file, CbrFrame());
    Mp3Stream stream;
    ASSERT_TRUE(stream.Parse(file.data(), file.size()));
    FakeCodec codec({"refuses", 529, 0, -1, 0, 0, true}, 0);
    Mp3PcmSource source(file.data(), stream, codec);
    source.SetLooping(true);
    int16_t pcm[64];
    EXPECT_EQ(0u, source.Read(pcm, 32));
}

}  // namespace
