// Looping through the PCM source over a fake codec whose output is a counter:
// the kept samples of pass after pass must count on 0, 1, 2 ... without a cut
// and without padding, whatever the codec does with its frames; and a loop
// that keeps nothing must end instead of spinning.
#include <gtest/gtest.h>

#include "audio/Mp3PcmSource.h"
#include "audio/Mp3Stream.h"
#include "unit/audio/Mp3Bytes.h"

using namespace mp3test;

namespace {

constexpr unsigned kN = 1152;
constexpr int16_t kPadding = 30000;  // what the encoder added around its input

// A file of nFrames frames whose encoder put nDelay samples before its input;
// gap (a tag, junk), then tags up to nSize bytes in all, lie after the first frame.
struct Layout {
    unsigned nFrames, nDelay, nPadding;
    Bytes gap = {};
    uint64_t nSize = 0;
    unsigned Pass() const { return kN * nFrames; }
    unsigned Keep() const { return Pass() - nDelay - nPadding; }
    SparseFile File() const {
        SparseFile file;
        file.Append(InfoFrame("Info", nFrames, nDelay, nPadding));
        for (unsigned f = 0; f < nFrames; ++f) {
            if (f == 1) file.Append(gap), file.AppendTags(nSize ? nSize - file.Size() - (nFrames - 1) * 417 : 0);
            file.Append(CbrFrame());
        }
        return file;
    }
};

struct Behaviour {
    const char* pszName;
    unsigned nDelay;      // the codec's own delay
    unsigned nHeld;       // frames it holds back before giving their samples
    int nLostFrame;       // frame of every pass that yields nothing (-1: none)
    size_t nMaxTake;      // bytes it takes per call (0: all)
    size_t nMinTake;      // takes nothing from fewer bytes than this
    bool bRefuses;        // fails every frame
    bool bFirstOnly;      // gives samples for the first frame of a pass only
};

struct FakeCodec : Mp3FrameDecoder {
    FakeCodec(const Behaviour& b, const Layout& l) : m_b(b), m_l(l) {}
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
    // The samples of decoded frame k: the encoder's timeline, m_b.nDelay later.
    void Emit(uint64_t k, std::vector<int16_t>& pcm) {
        if (int(k % m_l.nFrames) == m_b.nLostFrame || (m_b.bFirstOnly && k % m_l.nFrames > 0)) return;
        for (uint64_t x = k * kN; x < (k + 1) * kN; ++x) {
            const uint64_t u = (x + m_l.Pass() - m_b.nDelay) % m_l.Pass();  // position in a pass
            const bool bInput = x >= m_b.nDelay && u >= m_l.nDelay && u < m_l.nDelay + m_l.Keep();
            pcm.insert(pcm.end(), 2, bInput ? int16_t(u - m_l.nDelay) : kPadding);  // stereo
        }
    }
    Behaviour m_b;
    Layout m_l;
    uint64_t m_nFed = 0;
    size_t m_nTaken = 0;
};

// What a listener should hear: the counter, less the samples of a lost frame.
std::vector<int16_t> Expected(const Behaviour& b, const Layout& l, size_t nPasses) {
    std::vector<int16_t> v;
    for (uint64_t i = 0; i < nPasses * l.Keep(); ++i) {
        const uint64_t x = (i / l.Keep()) * l.Pass() + l.nDelay + b.nDelay + i % l.Keep();
        if (int(x / kN % l.nFrames) != b.nLostFrame) v.push_back(int16_t(i % l.Keep()));
    }
    return v;
}

TEST(Mp3PcmSource, LoopsWithoutCutOrPadding) {
    const struct { Behaviour b; Layout file; } cases[] = {  // the file's padding is the loop's
        {{"plain", 529, 0, -1, 0, 0, false, false}, {4, 576, 0}},
        {{"holds a frame back", 529, 1, -1, 0, 0, false, false}, {4, 576, 0}},
        {{"one frame, held back", 529, 1, -1, 0, 0, false, false}, {1, 576, 0}},
        {{"other delay", 1105, 0, -1, 0, 0, false, false}, {4, 576, 0}},
        {{"a frame yields nothing", 529, 0, 2, 0, 0, false, false}, {4, 576, 0}},
        {{"takes part of a frame", 529, 0, -1, 300, 0, false, false}, {4, 576, 0}},
        {{"waits for more bytes", 529, 0, -1, 0, 600, false, false}, {4, 576, 0}},
        {{"2 MiB tag between frames", 529, 0, -1, 0, 0, false, false}, {4, 576, 0, CoverArtTag()}},
        {{"2 MiB of junk between frames", 529, 0, -1, 0, 0, false, false}, {4, 576, 0, Bytes(2 << 20, 'j')}},
        {{"2 GiB, its last frame ending the file", 529, 0, -1, 0, 0, false, false}, {4, 576, 0, {}, 2ull << 30}},
    };
    for (unsigned nPadding : {1000u, 200u}) {  // 200: the window reaches into the next pass
        for (const auto& [b, file] : cases) {
            Layout layout = file;
            layout.nPadding = nPadding;
            if (layout.nDelay + nPadding >= layout.Pass()) continue;
            SCOPED_TRACE(testing::Message() << b.pszName << ", padding " << nPadding);
            SparseFile bytes = layout.File();
            ByteWindow head(bytes);
            Mp3Stream stream;
            ASSERT_TRUE(stream.Parse(head));
            FakeCodec codec(b, layout);
            Mp3PcmSource source(bytes, stream, codec);
            source.SetLooping(true);
            const std::vector<int16_t> expected = Expected(b, layout, 5);
            // Part of the passes, then all of them again from the start.
            for (size_t nWant : {expected.size() / 2, expected.size()}) {
                std::vector<int16_t> pcm(2 * nWant);
                size_t nRead = 0;
                for (int i = 0; i < 1000 && nRead < nWant; ++i)
                    nRead += source.Read(pcm.data() + 2 * nRead, nWant - nRead);
                ASSERT_EQ(nWant, nRead);
                for (size_t i = 0; i < nWant; ++i) ASSERT_EQ(expected[i], pcm[2 * i]) << "sample " << i;
                source.Rewind();
            }
        }
    }
}

// Each Read returns after bounded work even when nothing comes, and a loop
// that keeps nothing, or whose file went away or shrank, ends for good: the
// player's thread must never spin inside the source, nor read the file again
// and again.
TEST(Mp3PcmSource, LoopThatKeepsNothingOrLosesItsFileEnds) {
    const struct { Behaviour b; Layout layout; int nReads; uint64_t nCut; bool bHeard; } cases[] = {
        {{"refuses every frame", 529, 0, -1, 0, 0, true, false}, {2, 576, 0}, 1 << 30, 0, false},
        {{"every decoded sample is trimmed", 529, 0, -1, 0, 0, false, true}, {4, 1200, 3000}, 1 << 30, 0, false},
        {{"the file goes away after its first pass", 529, 0, -1, 0, 0, false, false}, {4, 576, 1000}, 1, 0, true},
        {{"the file shrinks in its first pass", 529, 0, -1, 0, 0, false, false},
         {4, 576, 1000, Bytes(1 << 20, 'j')}, 1, 300000, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.b.pszName);
        SparseFile bytes = c.layout.File();
        ByteWindow head(bytes);
        Mp3Stream stream;
        ASSERT_TRUE(stream.Parse(head));
        bytes.nReads = c.nReads;
        bytes.nCut = c.nCut;
        FakeCodec codec(c.b, c.layout);
        Mp3PcmSource source(bytes, stream, codec);
        source.SetLooping(true);
        int16_t pcm[64];
        size_t nHeard = 0;
        for (int i = 0; i < 1000 && !source.Ended(); ++i) nHeard += source.Read(pcm, 32);
        EXPECT_TRUE(source.Ended());
        EXPECT_EQ(c.bHeard, nHeard > 0);
        EXPECT_EQ(0u, source.Read(pcm, 32));
        EXPECT_LE(bytes.nReadsAfterCut, 1) << "the shortened file was read again";
    }
}

}  // namespace
