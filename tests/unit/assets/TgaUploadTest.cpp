// TgaTexture::Upload and LoadAndUpload: the exact calls, kept pixels and the
// format override, and the embedded skin as OpenGL receives it.
#include <gtest/gtest.h>

#include "assets/TgaTexture.h"
#include "support/FakeGL.h"
#include "unit/assets/AssetFiles.h"

namespace {

using Calls = std::vector<std::string>;

Calls UploadCalls(const char* format, int width, int height, int bytes) {
    return fakegl::TextureUploadCalls(7, format, width, height, bytes);
}

// A 4 × 2 32-bit image whose pixel i is (blue i, green 100+i, red 200+i, alpha 50+i).
Bytes SmallRgba() {
    Bytes bytes(18, 0);
    bytes[2] = 2;
    bytes[12] = 4;
    bytes[14] = 2;
    bytes[16] = 32;
    for (int i = 0; i < 8; ++i)
        for (int v : {i, 100 + i, 200 + i, 50 + i}) bytes.push_back(static_cast<std::uint8_t>(v));
    return bytes;
}

class TgaUpload : public ::testing::Test {
protected:
    void SetUp() override {
        m_strPath = m_Dir.Write("skin.tga", SmallRgba());
        fakegl::Reset();
    }
    TempDir m_Dir;
    std::string m_strPath;
    TgaTexture m_Skin;
};

TEST_F(TgaUpload, LoadAndUploadMakesTheExactCallsAndFreesPixels) {
    ASSERT_EQ(m_Skin.LoadAndUpload(m_strPath.c_str(), 7, 0, 0), 1);
    EXPECT_EQ(fakegl::Calls(), UploadCalls("0x1908", 4, 2, 32));
    EXPECT_EQ(m_Skin.m_pPixels, nullptr);
    EXPECT_EQ(m_Skin.m_uTexture, 7u);
    ASSERT_EQ(fakegl::TexImages().size(), 1u);
    const std::vector<std::uint8_t>& image = fakegl::TexImages()[0];
    EXPECT_EQ(image[0], 200);  // red first
    EXPECT_EQ(image[3], 50);
    EXPECT_EQ(image[29], 107);
}

TEST_F(TgaUpload, KeptPixelsUploadLaterWithTheFormatOverride) {
    ASSERT_EQ(m_Skin.LoadAndUpload(m_strPath.c_str(), 7, 1, GL_LUMINANCE_ALPHA), 1);
    EXPECT_TRUE(fakegl::Calls().empty());
    ASSERT_NE(m_Skin.m_pPixels, nullptr);
    EXPECT_EQ(m_Skin.m_pPixels[0], 200);
    m_Skin.Upload();
    EXPECT_EQ(fakegl::Calls(), UploadCalls("0x190A", 4, 2, 16));
    EXPECT_NE(m_Skin.m_pPixels, nullptr) << "Upload alone keeps the pixels";
}

TEST_F(TgaUpload, FailedLoadUploadsNothingAndKeepsTextureAndFormat) {
    ASSERT_EQ(m_Skin.LoadAndUpload(m_strPath.c_str(), 7, 1, 0), 1);
    fakegl::Reset();
    EXPECT_EQ(m_Skin.LoadAndUpload(m_Dir.Path("absent.tga").c_str(), 9, 0, GL_RGB), 0);
    EXPECT_TRUE(fakegl::Calls().empty());
    EXPECT_EQ(m_Skin.m_uTexture, 7u);
    EXPECT_EQ(m_Skin.m_eFormat, static_cast<GLenum>(GL_RGBA));
}

TEST_F(TgaUpload, NoPixelsNoCalls) {
    m_Skin.Upload();
    EXPECT_TRUE(fakegl::Calls().empty());
    ASSERT_EQ(m_Skin.LoadAndUpload(m_strPath.c_str(), 7, 0, 0), 1);
    fakegl::Reset();
    m_Skin.Upload();
    EXPECT_TRUE(fakegl::Calls().empty()) << "not even the bind";
}

TEST(TgaEmbeddedUpload, TopRowStoredFirstLandsAtRowZero) {
    TgaTexture skin;
    fakegl::Reset();
    ASSERT_EQ(skin.LoadAndUpload(ResPath("ferrovane.tga").c_str(), 7, 0, 0), 1);
    EXPECT_EQ(fakegl::Calls(), UploadCalls("0x1907", 64, 64, 12288));
    Bytes file = ReadWholeFile(ResPath("ferrovane.tga"));
    const std::vector<std::uint8_t>& image = fakegl::TexImages().at(0);
    for (std::size_t i = 0; i < 64 * 3; i += 3) {  // the first row, blue-green-red in the file
        EXPECT_EQ(image[i], file[18 + i + 2]);
        EXPECT_EQ(image[i + 2], file[18 + i]);
    }
}

}  // namespace
