// The asset files with the Windows C runtime, under Wine. Each test works in a
// folder of its own that GetTempPath reports meanwhile (through TMP), so the
// user's own files of those names stay as they were. The scene loads a file
// only when it has just written it whole: what another program left under the
// name is never drawn, and two savers starting together each load the whole
// file. A missing resource writes nothing (the saver's end-to-end test shows
// the files written again at every start).
#include <gtest/gtest.h>
#include <windows.h>
#include <GL/gl.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "assets/Md3Model.h"
#include "assets/Md3Surface.h"
#include "assets/TgaTexture.h"
#include "scene/Scene.h"
#include "scene/TempDirectory.h"
#include "win/SceneContext.h"

// Room left on the disk, -1 for no limit: a write beyond it takes what fits
// and fails as on a full disk. The link routes the program's writes here.
long long g_nDiskRoom = -1;
extern "C" {
extern decltype(&WriteFile) __real___imp_WriteFile;
static BOOL WINAPI WriteToDisk(HANDLE hFile, LPCVOID pData, DWORD nBytes, LPDWORD pnWritten, LPOVERLAPPED pOverlapped) {
    const bool bFits = g_nDiskRoom < 0 || nBytes <= g_nDiskRoom;
    const DWORD nTaken = bFits ? nBytes : DWORD(g_nDiskRoom);
    g_nDiskRoom -= g_nDiskRoom < 0 ? 0 : nTaken;
    const BOOL bWritten = __real___imp_WriteFile(hFile, pData, nTaken, pnWritten, pOverlapped);
    return bFits ? bWritten : (::SetLastError(ERROR_DISK_FULL), FALSE);
}
decltype(&WriteFile) __wrap___imp_WriteFile = WriteToDisk;
}

namespace {

using Bytes = std::string;
const char kModelFile[] = "TarsolinResMD3.MD3";
const char kSkinFile[] = "TarsolinResTGA.TGA";
// 2 x 2 pixels of 32 bits, blue equal to red in each, so they load unchanged.
const Bytes kSkinPixels = "\r\n\r\n\x1a\r\x1a\n\n\x1a\n\r\r\n\r\x1a";
const Bytes kSmallSkin = Bytes("\0\0\2\0\0\0\0\0\0\0\0\0\2\0\2\0\x20\x20", 18) + kSkinPixels;

// A file cut short loads with zeros in place of what it lacks, the vertices
// (each surface's last block) first; a missing surface fails the load.
bool SameModel(const Md3Model& a, const Md3Model& b) {
    bool bSame = a.m_Header.numSurfaces == b.m_Header.numSurfaces;
    for (int i = 0; bSame && i < a.m_Header.numSurfaces; ++i) {
        const Md3Surface &s = *a.m_apSurfaces[i], &t = *b.m_apSurfaces[i];
        bSame = std::memcmp(&s.m_Header, &t.m_Header, sizeof s.m_Header) == 0 &&
                std::memcmp(s.m_pVertices, t.m_pVertices, sizeof(Md3Vertex) * s.m_Header.numVerts * s.m_Header.numFrames) == 0;
    }
    return bSame;
}

class AssetFiles : public ::testing::Test {
protected:
    void SetUp() override {
        m_strFolder = ReadTempDirectory() + "FerroAssetTest" + std::to_string(::GetCurrentProcessId()) + "\\";
        ASSERT_TRUE(::CreateDirectoryA(m_strFolder.c_str(), nullptr) && ::SetEnvironmentVariableA("TMP", m_strFolder.c_str()));
        ASSERT_EQ(Md3Model().ExtractResourceToTemp("#144", "embedded.md3"), 1);  // the saver's end-to-end test compares it
        ASSERT_EQ(m_embedded.Load((m_strFolder + "embedded.md3").c_str()), 1);
    }
    void TearDown() override {
        ::SetEnvironmentVariableA("TMP", m_pszTmp);  // as the program started, set or not
        for (const char* pszName : {"embedded.md3", kModelFile, kSkinFile, "skin.tga"}) Remove(m_strFolder + pszName);
        EXPECT_TRUE(::RemoveDirectoryA(m_strFolder.c_str())) << m_strFolder << " is left behind";
    }
    std::string Write(const char* pszName, const Bytes& bytes) {
        std::ofstream(m_strFolder + pszName, std::ios::binary) << bytes;
        return m_strFolder + pszName;
    }
    Bytes Read(const char* pszName) {
        return Bytes(std::istreambuf_iterator<char>(std::ifstream(m_strFolder + pszName, std::ios::binary).rdbuf()), {});
    }
    static void Remove(const std::string& strPath) {
        ::SetFileAttributesA(strPath.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::RemoveDirectoryA(strPath.c_str()) || ::DeleteFileA(strPath.c_str());
    }
    const char* const m_pszTmp = std::getenv("TMP");
    std::string m_strFolder;
    Md3Model m_embedded;
};

TEST_F(AssetFiles, MissingResourceWritesNothing) {
    for (const char* pszFile : {kModelFile, kSkinFile}) Write(pszFile, "left by an earlier run");
    Md3Model model;
    TgaTexture skin;
    EXPECT_EQ(model.ExtractResourceToTemp("#999", kModelFile) + model.ExtractResourceToTemp("#143", kModelFile), 0) << "#143 is no MD3";
    EXPECT_EQ(skin.ExtractResourceToTemp("#999", kSkinFile) + skin.ExtractResourceToTemp("#144", kSkinFile), 0) << "#144 is no TGA";
    for (const char* pszFile : {kModelFile, kSkinFile}) EXPECT_EQ(Read(pszFile), "left by an earlier run") << pszFile;
}

// Under each name a file of another valid model and skin that the scene's
// write cannot replace, or can: the scene then draws the embedded model and
// skin or nothing, never the file that was there.
TEST_F(AssetFiles, SceneDrawsWhatItWroteOrNothingNeverAFileLeftThere) {
    const SceneContext gl;
    ASSERT_TRUE(gl.bCurrent);
    Bytes otherModel = Read("embedded.md3");
    otherModel[84] = 1;  // its first surface alone
    enum Drawn { kNone = 1, kEmbedded = 2, kOther = 4 };  // what may be drawn, as a mask
    const struct { const char* what; DWORD dwAttributes; bool bHeld, bDirectory; long long nDiskRoom; int nDrawn; } kPlanted[] = {
        {"an earlier run's or another program's", 0, false, false, -1, kEmbedded},
        {"hidden", FILE_ATTRIBUTE_HIDDEN, false, false, -1, kEmbedded},
        {"system", FILE_ATTRIBUTE_SYSTEM, false, false, -1, kEmbedded},
        {"read-only (Wine as root writes it)", FILE_ATTRIBUTE_READONLY, false, false, -1, kNone | kEmbedded},
        {"held open by a program that shares no writing", 0, true, false, -1, kNone},
        {"a directory", 0, false, true, -1, kNone},
        {"on a disk full 16 bytes before the model's end", 0, false, false, (long long)otherModel.size() - 16, kNone},
    };
    for (const auto& row : kPlanted) {
        std::vector<HANDLE> held;
        for (const auto& [pszName, bytes] : {std::pair{kModelFile, otherModel}, {kSkinFile, kSmallSkin}}) {
            const std::string strPath = m_strFolder + pszName;
            if (row.bDirectory) ::CreateDirectoryA(strPath.c_str(), nullptr); else Write(pszName, bytes);
            if (row.dwAttributes != 0) ::SetFileAttributesA(strPath.c_str(), row.dwAttributes);
            if (row.bHeld) held.push_back(::CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        }
        g_nDiskRoom = row.nDiskRoom;
        InitScene();
        g_nDiskRoom = -1;
        GLint nSkinWidth = -1;  // the embedded skin is wider than the other's 2 pixels
        glBindTexture(GL_TEXTURE_2D, g_uSkinTexture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &nSkinWidth);
        const int nModel = SameModel(*g_pSceneModel, m_embedded) ? kEmbedded : g_pSceneModel->m_Header.numSurfaces ? kOther : kNone;
        const int nSkin = nSkinWidth == 0 ? kNone : nSkinWidth == 2 ? kOther : kEmbedded;
        EXPECT_TRUE(nModel & nSkin & row.nDrawn) << row.what << ": model " << nModel << ", skin " << nSkin
                                                  << " (1 none, 2 the embedded one, 4 another)";
        ReleaseScene();
        for (HANDLE hHeld : held) ::CloseHandle(hHeld);
        for (const char* pszName : {kModelFile, kSkinFile}) Remove(m_strFolder + pszName);
    }
}

// Two savers starting together (the settings page's preview and the saver)
// each write both files over the other's and load them straight after: two
// copies of this program set up the scene's assets many times, side by side.
TEST_F(AssetFiles, SaversStartingTogetherEachLoadTheWholeFiles) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const HANDLE hGo = ::CreateEventA(nullptr, TRUE, FALSE, "FerroAssetStarts");
    STARTUPINFOW si{sizeof si};  // their output goes nowhere, the result in the exit code
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = ::CreateFileA("NUL", GENERIC_WRITE, 0, &inherited, OPEN_EXISTING, 0, nullptr);
    std::wstring strCommand = std::wstring(::GetCommandLineW()) + L" --gtest_also_run_disabled_tests --gtest_filter=AssetFileStarts.*";
    PROCESS_INFORMATION savers[2] = {};
    for (PROCESS_INFORMATION& saver : savers)
        EXPECT_TRUE(::CreateProcessW(nullptr, strCommand.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &saver));
    ::SetEvent(hGo);
    for (PROCESS_INFORMATION& saver : savers) {
        DWORD dwCode = STILL_ACTIVE;
        EXPECT_EQ(::WaitForSingleObject(saver.hProcess, 120000), WAIT_OBJECT_0) << "a saver still starting after 120 s";
        EXPECT_TRUE(::GetExitCodeProcess(saver.hProcess, &dwCode) && dwCode == 0) << "a saver saw less than the whole files";
        ::TerminateProcess(saver.hProcess, 3), ::CloseHandle(saver.hProcess), ::CloseHandle(saver.hThread);
    }
    ::CloseHandle(hGo), ::CloseHandle(si.hStdOutput);
}

// One of the two savers above, in the temporary folder it was given.
TEST(AssetFileStarts, DISABLED_OneSaverStartingManyTimes) {
    ASSERT_EQ(::WaitForSingleObject(::OpenEventA(SYNCHRONIZE, FALSE, "FerroAssetStarts"), 30000), WAIT_OBJECT_0);
    const std::string strModel = ReadTempDirectory() + kModelFile, strSkin = ReadTempDirectory() + kSkinFile;
    Md3Model embedded;
    ASSERT_EQ(embedded.Load((ReadTempDirectory() + "embedded.md3").c_str()), 1);
    const int kStarts = 50;
    int nWhole = 0;
    for (int i = 0; i < kStarts; ++i) {
        Md3Model model;
        TgaTexture skin;  // a skin cut short fails to load
        nWhole += model.ExtractResourceToTemp("#144", kModelFile) && model.Load(strModel.c_str()) && SameModel(model, embedded) &&
                  skin.ExtractResourceToTemp("#143", kSkinFile) && skin.Load(strSkin.c_str());
    }
    EXPECT_EQ(nWhole, kStarts);
}

// The skin's loader opens its file binary, so bytes that text mode turns (CR
// LF, the end-of-file mark 0x1A) reach the pixels unchanged, and for update,
// so that a file another program holds without sharing writing is refused.
TEST_F(AssetFiles, SkinLoaderOpensBinaryForUpdate) {
    const std::string strPath = Write("skin.tga", kSmallSkin);
    const HANDLE hHolder = ::CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    TgaTexture skin;
    EXPECT_EQ(skin.Load(strPath.c_str()), 0);
    EXPECT_EQ(skin.m_nStatus, 1000);
    ::CloseHandle(hHolder);
    ASSERT_EQ(skin.Load(strPath.c_str()), 1) << "once it can be written; status " << skin.m_nStatus;
    EXPECT_EQ(Bytes(reinterpret_cast<const char*>(skin.m_pPixels), 16), kSkinPixels);
}

}  // namespace
