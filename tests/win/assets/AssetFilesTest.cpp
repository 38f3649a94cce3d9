// The asset files with the Windows C runtime, under Wine. A missing resource
// writes nothing (the saver's end-to-end test shows the files written again
// at every start). The skin's loader opens its file binary, so bytes
// that text mode turns (CR LF, the end-of-file mark 0x1A) reach the pixels
// unchanged, and for update, so a file that cannot be written is refused.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>

#include "assets/Md3Model.h"
#include "assets/TgaTexture.h"
#include "scene/TempDirectory.h"


TEST(ExtractResourceToTemp, MissingResourceWritesNothing) {
    for (const char* pszFile : {"TarsolinResMD3.MD3", "TarsolinResTGA.TGA"})
        std::ofstream(ReadTempDirectory() + pszFile) << "left by an earlier run";
    Md3Model model;
    TgaTexture skin;
    EXPECT_EQ(model.ExtractResourceToTemp("#999", "TarsolinResMD3.MD3"), 0);
    EXPECT_EQ(model.ExtractResourceToTemp("#143", "TarsolinResMD3.MD3"), 0) << "#143 is not of type MD3";
    EXPECT_EQ(skin.ExtractResourceToTemp("#999", "TarsolinResTGA.TGA"), 0);
    EXPECT_EQ(skin.ExtractResourceToTemp("#144", "TarsolinResTGA.TGA"), 0) << "#144 is not of type TGA";
    for (const char* pszFile : {"TarsolinResMD3.MD3", "TarsolinResTGA.TGA"})
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(std::ifstream(ReadTempDirectory() + pszFile).rdbuf()), {}),
                  "left by an earlier run") << pszFile;
}

// 2 x 2 pixels of 32 bits, blue equal to red in each, so they load unchanged.
const std::string kPixels = "\r\n\r\n\x1a\r\x1a\n\n\x1a\n\r\r\n\r\x1a";

// The skin file in the temporary folder, gone with the test.
struct TempSkin {
    const std::string strPath = ReadTempDirectory() + "FerroSkinTest.tga";
    TempSkin() { std::ofstream(strPath, std::ios::binary) << std::string("\0\0\2\0\0\0\0\0\0\0\0\0\2\0\2\0\x20\x20", 18) << kPixels; }
    ~TempSkin() { DeleteFileA(strPath.c_str()); }
};

TEST(SkinFile, TextModeBytesReachThePixelsUnchanged) {
    const TempSkin file;
    TgaTexture skin;
    ASSERT_EQ(skin.Load(file.strPath.c_str()), 1) << "status " << skin.m_nStatus;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(skin.m_pPixels), 16), kPixels);
}

// Another program holds the file open and shares no writing.
TEST(SkinFile, FileThatCannotBeWrittenIsRefused) {
    const TempSkin file;
    const std::string& strPath = file.strPath;
    HANDLE hHolder = CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(hHolder, INVALID_HANDLE_VALUE);
    TgaTexture skin;
    EXPECT_EQ(skin.Load(strPath.c_str()), 0);
    EXPECT_EQ(skin.m_nStatus, 1000);
    CloseHandle(hHolder);
    EXPECT_EQ(skin.Load(strPath.c_str()), 1) << "and loads once it can be written";
}
