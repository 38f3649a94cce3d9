// The MP3 layout at its boundaries: frame lengths at the ends of the tables,
// and whole files whose tags and junk decide which frames are audio and which
// samples a gapless loop keeps. The fuzz target covers everything else.
#include <gtest/gtest.h>

#include <tuple>

#include "audio/Mp3FrameHeader.h"
#include "audio/Mp3FrameWalker.h"
#include "audio/Mp3Stream.h"
#include "unit/audio/Mp3Bytes.h"

using namespace mp3test;

namespace {

TEST(Mp3FrameHeader, LengthsAtTheEndsOfTheTables) {
    const struct {
        Bytes header;
        size_t nLength;  // 0: refused
        unsigned nRate, nChannels, nSamples;
    } cases[] = {
        {Header(3, 1, 2, false, true), 144, 32000, 1, 1152},     // MPEG-1 shortest
        {Header(3, 14, 2, true, false), 1441, 32000, 2, 1152},   // MPEG-1 longest
        {Header(2, 8, 0, false, true), 208, 22050, 1, 576},      // MPEG-2 mono 22.05 kHz
        {Header(0, 1, 2, false, true), 72, 8000, 1, 576},        // MPEG-2.5 shortest
        {Header(3, 0, 0, false, false), 0, 0, 0, 0},             // free format
        {Header(3, 15, 0, false, false), 0, 0, 0, 0},            // bad bit rate
        {Header(3, 9, 3, false, false), 0, 0, 0, 0},             // reserved rate
        {Header(1, 9, 0, false, false), 0, 0, 0, 0},             // reserved version
        {Header(3, 9, 0, false, false, 2), 0, 0, 0, 0},          // Layer II
        {{0xFF, 0xFB, 0x90, 0x02}, 0, 0, 0, 0},                  // reserved emphasis
        {{0xFF, 0xFB, 0x90}, 0, 0, 0, 0},                        // cut short
    };
    for (const auto& c : cases) {
        Mp3FrameHeader h;
        const bool bParsed = Mp3FrameHeader::Parse(c.header.data(), c.header.size(), &h);
        EXPECT_EQ(c.nLength != 0, bParsed) << c.nLength;
        if (bParsed) EXPECT_EQ(std::make_tuple(c.nLength, c.nRate, c.nChannels, c.nSamples),
                               std::make_tuple(h.nFrameLength, h.nSampleRate, h.nChannels, h.nSamplesPerFrame));
    }
}

TEST(Mp3Stream, WhichFramesAndSamplesPlay) {
    // Ends in a whole frame of the stream, which must not be taken for audio.
    const Bytes id3v1 = Cat({Frame({'T', 'A', 'G'}, 128 - 104, ' '), Frame(Header(3, 1, 0, false, false), 104)});
    const Bytes junk = {'j', 'u', 'n', 'k', 0xFF, 0xFB};  // ends in a false sync
    const Bytes junk2M(2 << 20, 'j');
    const auto at48k = [](size_t n) { return Frames(n, Frame(Header(3, 9, 1, false, false), 384)); };
    Bytes plainSizeTag = Id3v2(2 << 20);  // its writer stored the size as a plain number
    plainSizeTag[9] = 0x80;
    const struct {
        const char* pszName;
        Bytes file;
        size_t nFrames;  // 0: refused
        unsigned nDelay, nPadding;  // trimmed when there is a LAME tag
    } cases[] = {
        {"plain frames", Frames(3), 3, 0, 0},
        {"two ID3v2 tags, one with footer", Cat({Id3v2(300), Id3v2(0x4005, true), Frames(2)}), 2, 0, 0},
        {"ID3v1 at the end", Cat({Frames(2), id3v1}), 2, 0, 0},
        {"LAME tag and frames with a CRC", Cat({WithCrc(InfoFrame("Info", 3, 576, 1000)), Frames(3, WithCrc(CbrFrame()))}), 3, 576, 1000},
        {"largest LAME fields", Cat({InfoFrame("Xing", 10, 4095, 4095), Frames(10)}), 10, 4095, 4095},
        {"unknown encoder", Cat({InfoFrame("Info", 2, 576, 10, "XYZ123456"), Frames(2)}), 2, 0, 0},
        {"VBRI header frame", Cat({InfoFrame("VBRI", 2, 576, 10), Frames(2)}), 2, 0, 0},
        {"junk around frames", Cat({junk, Frames(2), junk, Frames(1)}), 3, 0, 0},
        {"2 MiB of junk before, between and after frames", Cat({junk2M, Frames(2), junk2M, Frames(2), junk2M}), 4, 0, 0},
        {"2 MiB tag between frames", Cat({Frames(10), CoverArtTag(), Frames(10)}), 20, 0, 0},
        {"2 MiB tag at the start, its size not sync-safe", Cat({plainSizeTag, Frames(2)}), 2, 0, 0},
        {"frame of another rate", Cat({Frames(2), Frame(Header(2, 8, 0, false, false), 208)}), 2, 0, 0},
        {"a jingle of another stream before the song", Cat({Frames(2, Frame(Header(2, 8, 0, false, true), 208)), InfoFrame("Info", 20, 576, 1000), Frames(20)}), 20, 576, 1000},
        {"a longer run at 48 kHz between runs at 44.1 kHz", Cat({Frames(10), at48k(30), Frames(10)}), 30, 0, 0},
        {"the song broken by another stream, after a few stray frames", Cat({Frames(3), at48k(9), Frames(12), at48k(9), Frames(20)}), 32, 0, 0},
        {"last frame cut", Cat({Frames(2), Bytes(200, 0x55)}), 2, 0, 0},
        {"unconfirmed sync: a header followed by neither frame nor end", Cat({CbrFrame(), Bytes(100, 'z')}), 0, 0, 0},
        {"header frame only", InfoFrame("Info", 0, 576, 0), 0, 0, 0},
        {"tag larger than the file", Cat({Id3v2Header(0xFFFFFFF), CbrFrame()}), 0, 0, 0},
        {"tag exactly the file", Cat({Id3v2Header(417), CbrFrame()}), 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        MemoryByteSource bytes(c.file.data(), c.file.size());
        ByteWindow window(bytes);
        Mp3Stream s;
        ASSERT_EQ(c.nFrames != 0, s.Parse(window));
        Mp3FrameWalker walker = s.Frames(window);
        size_t nFrames = 0;
        Mp3FrameWalker::Step step;
        for (Mp3Frame f; (step = walker.Next(&f)) != Mp3FrameWalker::Step::End;)
            nFrames += step == Mp3FrameWalker::Step::Frame;
        EXPECT_EQ(c.nFrames, nFrames);
        EXPECT_EQ(std::make_pair(c.nDelay, c.nPadding), std::make_pair(s.nEncoderDelay, s.nPadding));
    }
}

// 64 MiB without a frame: silence, after a scan that asked between bounded
// steps whether to stop.
TEST(Mp3Stream, LongScanAsksWhetherToStop) {
    const Bytes text(64 << 20, 'x');
    MemoryByteSource bytes(text.data(), text.size());
    ByteWindow window(bytes);
    uint64_t nAsked = 0;
    EXPECT_FALSE(Mp3Stream().Parse(window, [&] { return ++nAsked, false; }));
    EXPECT_GE(nAsked, text.size() / Mp3FrameWalker::kScanStep - 1);
}

}  // namespace
