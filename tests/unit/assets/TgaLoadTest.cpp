// TgaTexture::Load: the accepted subset, the status code of each refusal and
// the order of the checks, short files, and pixels in upload order.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "assets/TgaTexture.h"
#include "unit/assets/AssetFiles.h"

namespace {

struct TgaFields {
    int idLength = 0, colorMapType = 0, imageType = 2, width = 2, height = 2, depth = 24;
};

// Header plus width × height × depth / 8 pixel bytes counting up from 1.
Bytes BuildTga(const TgaFields& fields, long nPixelBytes = -1) {
    Bytes bytes(18, 0);
    bytes[0] = static_cast<std::uint8_t>(fields.idLength);
    bytes[1] = static_cast<std::uint8_t>(fields.colorMapType);
    bytes[2] = static_cast<std::uint8_t>(fields.imageType);
    bytes[12] = fields.width & 0xff;
    bytes[13] = (fields.width >> 8) & 0xff;
    bytes[14] = fields.height & 0xff;
    bytes[15] = (fields.height >> 8) & 0xff;
    bytes[16] = static_cast<std::uint8_t>(fields.depth);
    bytes[17] = 0x20;
    if (nPixelBytes < 0) nPixelBytes = static_cast<long>(fields.width) * fields.height * fields.depth / 8;
    for (long i = 0; i < nPixelBytes; ++i) bytes.push_back(static_cast<std::uint8_t>(i + 1));
    return bytes;
}

class TgaLoad : public ::testing::Test {
protected:
    int LoadBytes(const Bytes& bytes) { return m_Skin.Load(m_Dir.Write("skin.tga", bytes).c_str()); }
    // The status after loading bytes into a fresh record.
    int StatusOf(const Bytes& bytes) {
        TgaTexture skin;
        EXPECT_EQ(skin.Load(m_Dir.Write("status.tga", bytes).c_str()), 0);
        EXPECT_EQ(skin.m_pPixels, nullptr);
        return skin.m_nStatus;
    }
    TempDir m_Dir;
    TgaTexture m_Skin;
};

TEST_F(TgaLoad, TwentyFourBitsBecomeRgb) {
    TgaFields fields;
    ASSERT_EQ(LoadBytes(BuildTga(fields)), 1);
    EXPECT_EQ(m_Skin.m_nStatus, 0);
    EXPECT_EQ(m_Skin.m_nWidth, 2);
    EXPECT_EQ(m_Skin.m_nPixelCount, 4);
    EXPECT_EQ(m_Skin.m_eFormat, static_cast<GLenum>(GL_RGB));
    const std::uint8_t first[6] = {3, 2, 1, 6, 5, 4};
    EXPECT_TRUE(std::equal(first, first + 6, m_Skin.m_pPixels));
}

TEST_F(TgaLoad, ThirtyTwoBitsBecomeRgbaAndEightBitsAlpha) {
    TgaFields fields;
    fields.depth = 32;
    ASSERT_EQ(LoadBytes(BuildTga(fields)), 1);
    EXPECT_EQ(m_Skin.m_eFormat, static_cast<GLenum>(GL_RGBA));
    const std::uint8_t rgba[8] = {3, 2, 1, 4, 7, 6, 5, 8};
    EXPECT_TRUE(std::equal(rgba, rgba + 8, m_Skin.m_pPixels));
    fields.depth = 8;
    fields.imageType = 3;
    ASSERT_EQ(LoadBytes(BuildTga(fields)), 1);
    EXPECT_EQ(m_Skin.m_eFormat, static_cast<GLenum>(GL_ALPHA));
    EXPECT_EQ(m_Skin.m_pPixels[3], 4);
    fields.depth = 24;  // grey type with colour depth loads as colour
    ASSERT_EQ(LoadBytes(BuildTga(fields)), 1);
    EXPECT_EQ(m_Skin.m_eFormat, static_cast<GLenum>(GL_RGB));
}

TEST_F(TgaLoad, SidesFromOneTo512Load) {
    for (auto sides : {std::pair<int, int>{1, 1}, {512, 512}, {512, 1}, {1, 256}}) {
        TgaFields fields;
        fields.width = sides.first;
        fields.height = sides.second;
        EXPECT_EQ(LoadBytes(BuildTga(fields)), 1) << sides.first << "x" << sides.second;
    }
}

TEST_F(TgaLoad, SidesNotPowersOfTwoUpTo512Fail1002) {
    for (auto sides : {std::pair<int, int>{1024, 64}, {0, 64}, {3, 64}, {64, 48}, {64, 0}, {65535, 65535}}) {
        TgaFields fields;
        fields.width = sides.first;
        fields.height = sides.second;
        TgaTexture skin;
        EXPECT_EQ(skin.Load(m_Dir.Write("side.tga", BuildTga(fields, 64)).c_str()), 0);
        EXPECT_EQ(skin.m_nStatus, 1002) << sides.first << "x" << sides.second;
        EXPECT_EQ(skin.m_nWidth, sides.first) << "written before the check";
        EXPECT_EQ(skin.m_nHeight, sides.second);
    }
}

TEST_F(TgaLoad, ColourMapOrImageTypeFail1001) {
    for (auto types : {std::pair<int, int>{1, 2}, {0, 10}, {0, 1}, {0, 0}, {2, 3}}) {
        TgaFields fields;
        fields.colorMapType = types.first;
        fields.imageType = types.second;
        EXPECT_EQ(StatusOf(BuildTga(fields)), 1001) << "map " << types.first << " type " << types.second;
    }
}

TEST_F(TgaLoad, DepthsOtherThan8_24_32Fail1003) {
    for (int depth : {16, 15, 0, 1, 33}) {
        TgaFields fields;
        fields.depth = depth;
        EXPECT_EQ(StatusOf(BuildTga(fields, 64)), 1003) << depth;
    }
}

TEST_F(TgaLoad, ChecksRunInOrder) {
    TgaFields typeSideDepth;  // all three wrong: the type is reported
    typeSideDepth.imageType = 10;
    typeSideDepth.width = 3;
    typeSideDepth.depth = 16;
    EXPECT_EQ(StatusOf(BuildTga(typeSideDepth, 0)), 1001);
    TgaFields sideDepth;
    sideDepth.width = 3;
    sideDepth.depth = 16;
    EXPECT_EQ(StatusOf(BuildTga(sideDepth, 0)), 1002);
    TgaFields depthShort;
    depthShort.depth = 16;
    EXPECT_EQ(StatusOf(BuildTga(depthShort, 0)), 1003);
}

TEST_F(TgaLoad, FailureKeepsFieldsAsSpecified) {
    TgaFields good;
    good.width = 4;
    ASSERT_EQ(LoadBytes(BuildTga(good)), 1);
    TgaFields badType;
    badType.imageType = 1;
    badType.width = 8;
    EXPECT_EQ(LoadBytes(BuildTga(badType)), 0);
    EXPECT_EQ(m_Skin.m_nWidth, 4) << "1001 leaves the earlier header fields";
    EXPECT_EQ(m_Skin.m_pPixels, nullptr) << "pixels of the earlier image are gone with it";
    TgaFields badDepth;
    badDepth.width = 8;
    badDepth.depth = 16;
    EXPECT_EQ(LoadBytes(BuildTga(badDepth)), 0);
    EXPECT_EQ(m_Skin.m_nWidth, 8);
    EXPECT_EQ(m_Skin.m_nBitsPerPixel, 16);
    EXPECT_EQ(m_Skin.m_nPixelCount, 16);
}

TEST_F(TgaLoad, ShortPixelDataFails1004AndExtraBytesAreIgnored) {
    TgaFields fields;
    EXPECT_EQ(StatusOf(BuildTga(fields, 11)), 1004);
    EXPECT_EQ(StatusOf(BuildTga(fields, 0)), 1004);
    ASSERT_EQ(LoadBytes(BuildTga(fields, 40)), 1);
    EXPECT_EQ(m_Skin.m_pPixels[11], 10);
}

TEST_F(TgaLoad, IdFieldIsReadAsPixels) {
    TgaFields fields;
    fields.idLength = 5;
    Bytes header = BuildTga(fields, 0);
    Bytes withId = header;
    for (std::uint8_t id : {0xa0, 0xa1, 0xa2, 0xa3, 0xa4}) withId.push_back(id);
    Bytes pixels = BuildTga(TgaFields());
    withId.insert(withId.end(), pixels.begin() + 18, pixels.end());
    ASSERT_EQ(LoadBytes(withId), 1) << "the 12 bytes read from offset 18 are all there";
    EXPECT_EQ(m_Skin.m_pPixels[0], 0xa2) << "the ID bytes are the first pixel bytes";
    EXPECT_EQ(m_Skin.m_pPixels[2], 0xa0);
    EXPECT_EQ(m_Skin.m_pPixels[3], 1);
    withId.resize(18 + 5 + 6);  // fewer than 12 bytes behind the header
    EXPECT_EQ(StatusOf(withId), 1004);
}

TEST_F(TgaLoad, FilesShorterThanTheHeaderFail1004) {
    Bytes whole = BuildTga(TgaFields());
    for (std::size_t n : {0u, 2u, 3u, 12u, 17u}) {
        Bytes part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_EQ(StatusOf(part), 1004) << n << " bytes";
    }
}

TEST_F(TgaLoad, MissingFileFails1000) {
    EXPECT_EQ(m_Skin.Load(m_Dir.Path("absent.tga").c_str()), 0);
    EXPECT_EQ(m_Skin.m_nStatus, 1000);
}

// The file is opened for update too, so one that cannot be written fails.
TEST_F(TgaLoad, ReadOnlyFileFails1000) {
    std::string path = m_Dir.Write("locked.tga", BuildTga(TgaFields()));
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    bool bImmutable = false;
    if (geteuid() == 0) {  // root writes through permission bits; make the file immutable instead
        std::string command = "chattr +i '" + path + "' 2>/dev/null";
        bImmutable = std::system(command.c_str()) == 0;
        if (!bImmutable) GTEST_SKIP() << "running as root and chattr +i is unavailable here";
    }
    EXPECT_EQ(m_Skin.Load(path.c_str()), 0);
    EXPECT_EQ(m_Skin.m_nStatus, 1000);
    if (bImmutable) std::system(("chattr -i '" + path + "'").c_str());
}

TEST_F(TgaLoad, SuccessLeavesEarlierStatus) {
    EXPECT_EQ(m_Skin.Load(m_Dir.Path("absent.tga").c_str()), 0);
    ASSERT_EQ(LoadBytes(BuildTga(TgaFields())), 1);
    EXPECT_EQ(m_Skin.m_nStatus, 1000);
}

TEST_F(TgaLoad, ReloadFreesEarlierPixels) {
    ASSERT_EQ(LoadBytes(BuildTga(TgaFields())), 1);
    ASSERT_EQ(LoadBytes(BuildTga(TgaFields())), 1);  // the leak checker sees the first buffer
    EXPECT_EQ(m_Skin.m_pPixels[0], 3);
}

TEST(TgaEmbeddedSkin, LoadsAs64By64RgbWithoutTextModeBytes) {
    TgaTexture skin;
    ASSERT_EQ(skin.Load(ResPath("ferrovane.tga").c_str()), 1);
    EXPECT_EQ(skin.m_nStatus, 0);
    EXPECT_EQ(skin.m_nWidth, 64);
    EXPECT_EQ(skin.m_nHeight, 64);
    EXPECT_EQ(skin.m_eFormat, static_cast<GLenum>(GL_RGB));
    Bytes file = ReadWholeFile(ResPath("ferrovane.tga"));
    ASSERT_EQ(file.size(), 12306u);
    EXPECT_EQ(file[17], 0x20);
    // Read the same in text mode on any C runtime: no CR and no end-of-file mark.
    EXPECT_EQ(std::count(file.begin(), file.end(), 0x0d), 0);
    EXPECT_EQ(std::count(file.begin(), file.end(), 0x1a), 0);
}

}  // namespace
