// The MP3 layout parsers on crafted bytes: frame headers, ID3 tags, the
// Xing/Info/LAME and VBRI header frames, and walking frames through junk.
#include <gtest/gtest.h>

#include "audio/Id3Tags.h"
#include "audio/Mp3FrameHeader.h"
#include "audio/Mp3FrameWalker.h"
#include "audio/Mp3InfoTag.h"
#include "audio/Mp3Stream.h"
#include "unit/audio/Mp3Bytes.h"

using namespace mp3test;

namespace {

TEST(Mp3FrameHeader, VersionsRatesAndLengths) {
    const struct {
        unsigned version, bitrate, rate;
        bool padding, mono;
        unsigned nBitrate, nRate, nChannels, nSamples;
        size_t nLength;
    } cases[] = {
        {3, 9, 0, false, false, 128000, 44100, 2, 1152, 417},
        {3, 9, 0, true, false, 128000, 44100, 2, 1152, 418},
        {3, 1, 2, false, true, 32000, 32000, 1, 1152, 144},
        {3, 14, 1, false, false, 320000, 48000, 2, 1152, 960},
        {3, 14, 2, true, false, 320000, 32000, 2, 1152, 1441},
        {2, 8, 0, false, true, 64000, 22050, 1, 576, 208},
        {2, 14, 1, false, false, 160000, 24000, 2, 576, 480},
        {0, 1, 2, false, true, 8000, 8000, 1, 576, 72},
        {0, 8, 0, true, false, 64000, 11025, 2, 576, 418},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.version << "/" << c.bitrate << "/" << c.rate);
        const Bytes b = Header(c.version, c.bitrate, c.rate, c.padding, c.mono);
        Mp3FrameHeader h;
        ASSERT_TRUE(Mp3FrameHeader::Parse(b.data(), b.size(), &h));
        EXPECT_EQ(c.nBitrate, h.nBitrate);
        EXPECT_EQ(c.nRate, h.nSampleRate);
        EXPECT_EQ(c.nChannels, h.nChannels);
        EXPECT_EQ(c.nSamples, h.nSamplesPerFrame);
        EXPECT_EQ(c.nLength, h.nFrameLength);
    }
}

TEST(Mp3FrameHeader, RejectsWhatCannotBeWalked) {
    Bytes good = Header(3, 9, 0, false, false);
    Mp3FrameHeader h;
    EXPECT_FALSE(Mp3FrameHeader::Parse(good.data(), 3, &h));           // short
    EXPECT_FALSE(Mp3FrameHeader::Parse(nullptr, 4, &h));
    const Bytes bad[] = {
        Header(3, 0, 0, false, false),      // free format
        Header(3, 15, 0, false, false),     // bad bit rate
        Header(3, 9, 3, false, false),      // reserved sample rate
        Header(1, 9, 0, false, false),      // reserved version
        Header(3, 9, 0, false, false, 2),   // Layer II
        Header(3, 9, 0, false, false, 3),   // Layer I
        Header(3, 9, 0, false, false, 0),   // reserved layer
        {0xFF, 0xEB, 0x90, 0x00} /* sync bit missing */, {0x7F, 0xFB, 0x90, 0x00},
        {'I', 'D', '3', 4}, {0, 0, 0, 0}};
    for (const Bytes& b : bad) EXPECT_FALSE(Mp3FrameHeader::Parse(b.data(), b.size(), &h));
    Bytes emphasis = good;
    emphasis[3] |= 2;  // reserved emphasis
    EXPECT_FALSE(Mp3FrameHeader::Parse(emphasis.data(), 4, &h));
    // A CRC moves the side information by two bytes.
    const Bytes crc = Header(3, 9, 0, false, false, 1, true);
    ASSERT_TRUE(Mp3FrameHeader::Parse(crc.data(), 4, &h));
    EXPECT_EQ(4u + 2 + 32, h.SideInfoEnd());
}

TEST(Id3Tags, SkipsId3v2TagsAndExcludesId3v1) {
    Bytes file = Id3v2(300);
    Append(file, Id3v2(0x4000 + 5, true));  // a second tag, with footer, size over 7 bits
    const size_t nAudio = file.size();
    Append(file, CbrFrame());
    EXPECT_EQ(10u + 300 + 10 + 0x4005 + 10, nAudio);
    EXPECT_EQ(nAudio, Id3Tags::SkipId3v2(file.data(), file.size()));

    Bytes v1(128, 0);
    v1[0] = 'T'; v1[1] = 'A'; v1[2] = 'G';
    Append(file, v1);
    EXPECT_EQ(file.size() - 128, Id3Tags::AudioEnd(file.data(), nAudio, file.size()));
    // No "TAG": nothing excluded; "TAG" inside the audio range start: never below it.
    file.back() = 'x';
    file[file.size() - 128] = 'X';
    EXPECT_EQ(file.size(), Id3Tags::AudioEnd(file.data(), nAudio, file.size()));
    EXPECT_EQ(v1.size(), Id3Tags::AudioEnd(v1.data(), 1, v1.size()));
}

TEST(Id3Tags, BadOrOversizedId3v2) {
    Bytes huge = Id3v2(0);
    huge[6] = huge[7] = huge[8] = huge[9] = 0x7F;  // 256 MB claimed
    Append(huge, CbrFrame());
    EXPECT_EQ(huge.size(), Id3Tags::SkipId3v2(huge.data(), huge.size()));
    Bytes notSyncsafe = Id3v2(10);
    notSyncsafe[9] = 0x8A;
    EXPECT_EQ(0u, Id3Tags::SkipId3v2(notSyncsafe.data(), notSyncsafe.size()));
    Bytes shortTag = {'I', 'D', '3', 4, 0, 0, 0};
    EXPECT_EQ(0u, Id3Tags::SkipId3v2(shortTag.data(), shortTag.size()));
    // A tag exactly as long as the data leaves no audio.
    Bytes exact = Id3v2(20);
    EXPECT_EQ(exact.size(), Id3Tags::SkipId3v2(exact.data(), exact.size()));
}

TEST(Mp3InfoTag, XingInfoLameAndVbri) {
    Mp3FrameHeader h;
    const Bytes info = InfoFrame("Info", 43, 576, 1300);
    ASSERT_TRUE(Mp3FrameHeader::Parse(info.data(), info.size(), &h));
    Mp3InfoTag tag = Mp3InfoTag::Parse(info.data(), h);
    EXPECT_EQ(Mp3InfoTag::Kind::Info, tag.eKind);
    EXPECT_TRUE(tag.bHasFrames);
    EXPECT_EQ(43u, tag.nFrames);
    EXPECT_TRUE(tag.bHasLame);
    EXPECT_EQ(576u, tag.nEncoderDelay);
    EXPECT_EQ(1300u, tag.nPadding);

    tag = Mp3InfoTag::Parse(InfoFrame("Xing", 7, 4095, 4095).data(), h);
    EXPECT_EQ(Mp3InfoTag::Kind::Xing, tag.eKind);
    EXPECT_EQ(4095u, tag.nEncoderDelay);
    EXPECT_EQ(4095u, tag.nPadding);

    // An unknown encoder's extension carries no trusted delay.
    tag = Mp3InfoTag::Parse(InfoFrame("Info", 7, 576, 100, "XYZ123456").data(), h);
    EXPECT_EQ(Mp3InfoTag::Kind::Info, tag.eKind);
    EXPECT_FALSE(tag.bHasLame);

    Bytes vbri = Frame(Header(3, 9, 0, false, false), 417, 0);
    const char magic[] = "VBRI";
    for (int i = 0; i < 4; ++i) vbri[36 + i] = uint8_t(magic[i]);
    PutBigEndian32(vbri, 36 + 14, 1234);
    tag = Mp3InfoTag::Parse(vbri.data(), h);
    EXPECT_EQ(Mp3InfoTag::Kind::Vbri, tag.eKind);
    EXPECT_EQ(1234u, tag.nFrames);

    EXPECT_EQ(Mp3InfoTag::Kind::None, Mp3InfoTag::Parse(CbrFrame().data(), h).eKind);
    // Mono MPEG-2 puts the tag after 9 bytes of side information.
    Bytes mono = Frame(Header(2, 8, 0, false, true), 208, 0);
    const char xing[] = "Xing";
    for (int i = 0; i < 4; ++i) mono[4 + 9 + i] = uint8_t(xing[i]);
    ASSERT_TRUE(Mp3FrameHeader::Parse(mono.data(), mono.size(), &h));
    EXPECT_EQ(Mp3InfoTag::Kind::Xing, Mp3InfoTag::Parse(mono.data(), h).eKind);
}

TEST(Mp3FrameWalker, SkipsJunkBetweenFrames) {
    Bytes data = {'j', 'u', 'n', 'k', 0xFF, 0xFB};  // junk with a false sync at the end
    std::vector<size_t> expected;
    for (int i = 0; i < 3; ++i) {
        expected.push_back(data.size());
        Append(data, CbrFrame());
    }
    Append(data, std::string("garbage \xFF\xFB\x90 between"));
    for (int i = 0; i < 2; ++i) {
        expected.push_back(data.size());
        Append(data, Frame(Header(3, 9, 0, true, false), 418));
    }
    // A frame of another stream (22.05 kHz) and a truncated last frame are junk.
    Append(data, Frame(Header(2, 8, 0, false, false), 208));
    const Bytes last = CbrFrame();
    Append(data, Bytes(last.begin(), last.begin() + 200));

    Mp3FrameWalker walker(data.data(), 0, data.size());
    std::vector<size_t> found;
    for (Mp3Frame f; walker.Next(&f);) found.push_back(f.nOffset);
    EXPECT_EQ(expected, found);
}

TEST(Mp3FrameWalker, UnconfirmedSyncInJunkIsNotAFrame) {
    // A lone valid-looking header followed by junk, not by a frame or the end.
    Bytes data = Frame(Header(3, 9, 0, false, false), 417);
    Append(data, std::string(100, 'z'));
    Mp3FrameWalker walker(data.data(), 0, data.size());
    Mp3Frame f;
    EXPECT_FALSE(walker.Next(&f));
}

TEST(Mp3Stream, LayoutOfATaggedGaplessFile) {
    Bytes file = Id3v2(50);
    const size_t nInfo = file.size();
    Append(file, InfoFrame("Info", 10, 576, 1000));
    const size_t nFirst = file.size();
    for (int i = 0; i < 10; ++i) Append(file, CbrFrame());
    Bytes v1(128, 0);
    v1[0] = 'T'; v1[1] = 'A'; v1[2] = 'G';
    Append(file, v1);
    Mp3Stream s;
    ASSERT_TRUE(s.Parse(file.data(), file.size()));
    EXPECT_NE(nInfo, s.nFirstAudioOffset);
    EXPECT_EQ(nFirst, s.nFirstAudioOffset);
    EXPECT_EQ(file.size() - 128, s.nAudioEnd);
    EXPECT_EQ(10u, s.nFrames);
    EXPECT_EQ(11520u, s.nPassSamples);
    EXPECT_EQ(576u + 529, s.nKeepStart);
    EXPECT_EQ(11520u - 576 - 1000, s.nKeepLength);
    EXPECT_EQ(44100u, s.firstHeader.nSampleRate);
}

TEST(Mp3Stream, WithoutUsableLameTagEverythingPlays) {
    Bytes file = InfoFrame("Xing", 2, 3000, 3000);  // more trimming than audio
    Append(file, CbrFrame());
    Append(file, CbrFrame());
    Mp3Stream s;
    ASSERT_TRUE(s.Parse(file.data(), file.size()));
    EXPECT_EQ(2u, s.nFrames);
    EXPECT_EQ(0u, s.nKeepStart);
    EXPECT_EQ(s.nPassSamples, s.nKeepLength);
}

TEST(Mp3Stream, NoAudioNoStream) {
    Mp3Stream s;
    const std::string text = "This is only text, named .mp3.\n";
    EXPECT_FALSE(s.Parse(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    EXPECT_FALSE(s.Parse(nullptr, 0));
    const Bytes info = InfoFrame("Info", 0, 576, 0);  // header frame only
    EXPECT_FALSE(s.Parse(info.data(), info.size()));
    Bytes tagOnly = Id3v2(100);
    EXPECT_FALSE(s.Parse(tagOnly.data(), tagOnly.size()));
    // Cut anywhere, parsing stays inside the data (the sanitizers watch).
    Bytes file = InfoFrame("Info", 3, 576, 100);
    for (int i = 0; i < 3; ++i) Append(file, CbrFrame());
    for (size_t n = 0; n <= file.size(); ++n) {
        Bytes cut(file.begin(), file.begin() + n);
        if (s.Parse(cut.data(), cut.size())) {
            EXPECT_LE(s.nFrames * 417 + s.nFirstAudioOffset, n);
        }
    }
}

}  // namespace
