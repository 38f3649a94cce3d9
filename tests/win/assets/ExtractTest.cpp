// ExtractResourceToTemp against the program's real resources: the files in
// the temporary directory equal res/, a missing name touches nothing, and a
// path too long for the buffer is refused.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "assets/Md3Model.h"
#include "assets/TgaTexture.h"

namespace {

using Bytes = std::vector<char>;

std::string TempDir() {
    char szDir[MAX_PATH + 1] = {};
    GetTempPathA(sizeof szDir, szDir);
    return szDir;
}

Bytes ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// res/ in the source tree, seen through Wine's drive Z:.
std::string ResFile(const char* name) {
    std::string path = std::string("Z:") + FERRO_RES_DIR + "/" + name;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// Name → (write time, contents) of every file in the temporary directory.
std::map<std::string, std::pair<ULONGLONG, Bytes>> Snapshot() {
    std::map<std::string, std::pair<ULONGLONG, Bytes>> files;
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA((TempDir() + "*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE) return files;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        ULONGLONG time = (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                         data.ftLastWriteTime.dwLowDateTime;
        files[data.cFileName] = {time, ReadAll(TempDir() + data.cFileName)};
    } while (FindNextFileA(hFind, &data));
    FindClose(hFind);
    return files;
}

TEST(ExtractResourceToTemp, WritesTheEmbeddedAssetsExactly) {
    Md3Model model;
    model.m_pResourceCopy = nullptr;
    EXPECT_EQ(model.ExtractResourceToTemp("#144", "TarsolinResMD3.MD3"), 1);
    Bytes expectedModel = ReadAll(ResFile("ferrovane.md3"));
    ASSERT_FALSE(expectedModel.empty()) << ResFile("ferrovane.md3");
    EXPECT_EQ(ReadAll(TempDir() + "TarsolinResMD3.MD3"), expectedModel);
    EXPECT_EQ(model.m_nResourceSize, static_cast<int>(expectedModel.size()));
    EXPECT_EQ(model.m_pResourceCopy, nullptr) << "the copy lives only while extracting";

    TgaTexture skin;
    skin.m_nResourceSize = 0xdeadbeef;
    EXPECT_EQ(skin.ExtractResourceToTemp("#143", "TarsolinResTGA.TGA"), 1);
    Bytes expectedSkin = ReadAll(ResFile("ferrovane.tga"));
    ASSERT_EQ(expectedSkin.size(), 12306u);
    EXPECT_EQ(ReadAll(TempDir() + "TarsolinResTGA.TGA"), expectedSkin);
    EXPECT_EQ(skin.m_nResourceSize, 12306);
    EXPECT_EQ(skin.m_pResourceCopy, nullptr);
}

TEST(ExtractResourceToTemp, ExtractedFilesLoad) {
    Md3Model model;
    ASSERT_EQ(model.ExtractResourceToTemp("#144", "TarsolinResMD3.MD3"), 1);
    EXPECT_EQ(model.Load((TempDir() + "TarsolinResMD3.MD3").c_str()), 1);
    EXPECT_EQ(model.m_Header.numSurfaces, 2);
    TgaTexture skin;
    ASSERT_EQ(skin.ExtractResourceToTemp("#143", "TarsolinResTGA.TGA"), 1);
    EXPECT_EQ(skin.LoadAndUpload((TempDir() + "TarsolinResTGA.TGA").c_str(), 1, 1, 0), 1);
    EXPECT_EQ(skin.m_nWidth, 64);
    EXPECT_EQ(skin.m_eFormat, static_cast<GLenum>(GL_RGB));
}

TEST(ExtractResourceToTemp, MissingResourceTouchesNothing) {
    WriteAll(TempDir() + "TarsolinResMD3.MD3", "left by an earlier run");
    WriteAll(TempDir() + "TarsolinResTGA.TGA", "left by an earlier run");
    auto before = Snapshot();
    Sleep(50);  // a write now would show in the times as well as the contents
    Md3Model model;
    TgaTexture skin;
    EXPECT_EQ(model.ExtractResourceToTemp("#999", "TarsolinResMD3.MD3"), 0);
    EXPECT_EQ(model.ExtractResourceToTemp("#143", "TarsolinResMD3.MD3"), 0) << "#143 is not of type MD3";
    EXPECT_EQ(skin.ExtractResourceToTemp("#999", "TarsolinResTGA.TGA"), 0);
    EXPECT_EQ(skin.ExtractResourceToTemp("#144", "FerroNeverWritten.TGA"), 0) << "#144 is not of type TGA";
    EXPECT_TRUE(Snapshot() == before);
}

TEST(ExtractResourceToTemp, ExtractingTwiceLeavesTheSameFile) {
    TgaTexture skin;
    ASSERT_EQ(skin.ExtractResourceToTemp("#143", "TarsolinResTGA.TGA"), 1);
    Bytes first = ReadAll(TempDir() + "TarsolinResTGA.TGA");
    auto before = Snapshot();
    ASSERT_EQ(skin.ExtractResourceToTemp("#143", "TarsolinResTGA.TGA"), 1);
    auto after = Snapshot();
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(after["TarsolinResTGA.TGA"].second, first);
}

// A temporary directory whose path leaves no room for the file name in the
// 260-character buffer: refused, nothing written, no overflow.
TEST(ExtractResourceToTemp, TempPathTooLongIsRefused) {
    char szSaved[4096] = {};
    DWORD nSaved = GetEnvironmentVariableA("TMP", szSaved, sizeof szSaved);
    std::string longDir = "C:\\" + std::string(250, 'f') + "\\";
    ASSERT_TRUE(SetEnvironmentVariableA("TMP", longDir.c_str()));
    char szProbe[1024] = {};
    DWORD nProbe = GetTempPathA(sizeof szProbe, szProbe);
    if (nProbe < 250) {
        SetEnvironmentVariableA("TMP", nSaved ? szSaved : NULL);
        GTEST_SKIP() << "GetTempPathA ignores TMP here: " << szProbe;
    }
    Md3Model model;
    TgaTexture skin;
    EXPECT_EQ(model.ExtractResourceToTemp("#144", "TarsolinResMD3.MD3"), 0);
    EXPECT_EQ(skin.ExtractResourceToTemp("#143", "TarsolinResTGA.TGA"), 0);
    EXPECT_EQ(model.m_pResourceCopy, nullptr);
    SetEnvironmentVariableA("TMP", nSaved ? szSaved : NULL);
}

}  // namespace
