// TgaTexture::Load at the header's boundaries: the accepted types, sides and
// depths, the order of the checks, short files, and the pixels in upload
// order. What lies between is the TGA fuzzer's.
#include <gtest/gtest.h>

#include <algorithm>

#include "assets/TgaTexture.h"
#include "support/FakeSeams.h"

using Bytes = std::vector<std::uint8_t>;

TEST(TgaLoad, HeaderBoundariesAndPixelOrder) {
    const struct {
        const char* what;
        int nMapType, nType, nWidth, nHeight, nDepth;
        long nExtra;           // bytes after (or, negative, missing from) the pixel data
        std::int32_t nExpect;  // the format on success, else the status
        std::uint8_t nDescriptor = 0x20;  // its origin bit (0x20 top, 0x00 bottom) changes nothing: rows load in file order
    } kCases[] = {
        {"24 bits", 0, 2, 2, 2, 24, 0, GL_RGB}, {"32 bits", 0, 2, 2, 2, 32, 0, GL_RGBA}, {"8 bits", 0, 3, 2, 2, 8, 0, GL_ALPHA},
        {"grey, 24 bits", 0, 3, 2, 2, 24, 0, GL_RGB}, {"1 x 1", 0, 2, 1, 1, 24, 0, GL_RGB}, {"512 x 512", 0, 2, 512, 512, 24, 0, GL_RGB},
        {"bytes after the pixels", 0, 2, 2, 2, 24, 40, GL_RGB}, {"bottom-left origin", 0, 2, 2, 2, 24, 0, GL_RGB, 0x00}, {"colour map", 1, 2, 2, 2, 24, 0, 1001},
        {"type 0", 0, 0, 2, 2, 24, 0, 1001}, {"type 1", 0, 1, 2, 2, 24, 0, 1001}, {"type 10 (run-length)", 0, 10, 2, 2, 24, 0, 1001},
        {"width 0", 0, 2, 0, 64, 24, 0, 1002}, {"width 3", 0, 2, 3, 64, 24, 0, 1002}, {"width 1024", 0, 2, 1024, 64, 24, 0, 1002},
        {"height 48", 0, 2, 64, 48, 24, 0, 1002}, {"65535 x 65535", 0, 2, 65535, 65535, 24, 0, 1002},
        {"16 bits", 0, 2, 2, 2, 16, 0, 1003}, {"15 bits", 0, 2, 2, 2, 15, 0, 1003},
        {"type, side and depth: type first", 0, 10, 3, 2, 16, 0, 1001}, {"side and depth: side first", 0, 2, 3, 2, 16, 0, 1002},
        {"one pixel byte short", 0, 2, 2, 2, 24, -1, 1004}, {"no pixel data", 0, 2, 2, 2, 24, -12, 1004},
        {"header cut short", 0, 2, 2, 2, 24, -13, 1004}, {"empty file", 0, 2, 2, 2, 24, -30, 1004},
    };
    for (const auto& c : kCases) {
        Bytes bytes = {0, std::uint8_t(c.nMapType), std::uint8_t(c.nType), 0, 0, 0, 0, 0, 0, 0, 0, 0,
                       std::uint8_t(c.nWidth), std::uint8_t(c.nWidth >> 8), std::uint8_t(c.nHeight), std::uint8_t(c.nHeight >> 8),
                       std::uint8_t(c.nDepth), c.nDescriptor};
        // Pixel bytes counting up from 1, as many as the image needs (a few when it is refused anyway).
        const long nPixelBytes = c.nWidth <= 512 && c.nHeight <= 512 ? long(c.nWidth) * c.nHeight * c.nDepth / 8 : 16;
        for (long i = 0; i < nPixelBytes + c.nExtra; ++i) bytes.push_back(std::uint8_t(i + 1));
        bytes.resize(std::size_t(std::max(0L, 18 + nPixelBytes + c.nExtra)));
        TgaTexture skin;
        const int nResult = skin.Load(fakescene::WriteTestFile("skin.tga", bytes).c_str());
        EXPECT_EQ(nResult ? std::int32_t(skin.m_eFormat) : skin.m_nStatus, c.nExpect) << c.what;
        // The first pixel, stored blue first, arrives red first.
        if (nResult == 0) EXPECT_EQ(skin.m_pPixels, nullptr) << c.what;
        else EXPECT_EQ(Bytes(skin.m_pPixels, skin.m_pPixels + c.nDepth / 8),
                       (c.nDepth == 8 ? Bytes{1} : c.nDepth == 24 ? Bytes{3, 2, 1} : Bytes{3, 2, 1, 4})) << c.what;
    }
    TgaTexture absent;
    EXPECT_EQ(absent.Load("/absent/skin.tga"), 0);
    EXPECT_EQ(absent.m_nStatus, 1000);
}
