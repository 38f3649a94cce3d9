// The scene's files in the temporary folder, with the Windows C runtime under
// Wine. The scene loads a file only when it has just written it whole: what
// another program left under the name is never drawn, nor a file that another
// saver starting at the same moment is writing over (the saver's end-to-end
// test shows the files written again at every start). The test works in a
// folder of its own that GetTempPath reports meanwhile (through TMP), so the
// user's own files of those names stay as they were.
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
decltype(&WriteFile) __wrap___imp_WriteFile = [](HANDLE hFile, LPCVOID pData, DWORD nBytes, LPDWORD pnWritten, LPOVERLAPPED pOverlapped) {
    const DWORD nTaken = g_nDiskRoom < 0 || nBytes <= g_nDiskRoom ? nBytes : DWORD(g_nDiskRoom);
    g_nDiskRoom -= g_nDiskRoom < 0 ? 0 : nTaken;
    const BOOL bWritten = __real___imp_WriteFile(hFile, pData, nTaken, pnWritten, pOverlapped);
    return nTaken == nBytes ? bWritten : (::SetLastError(ERROR_DISK_FULL), FALSE);
};
}

namespace {

const char kModelFile[] = "TarsolinResMD3.MD3";
const char kSkinFile[] = "TarsolinResTGA.TGA";

// A file cut short loads with zeros in place of what it lacks, the last
// surface's last vertex first; a missing surface fails the load.
bool SameModel(const Md3Model& a, const Md3Model& b) {
    const int n = b.m_Header.numSurfaces - 1;
    return a.m_Header.numSurfaces == b.m_Header.numSurfaces &&
           std::memcmp(&a.m_apSurfaces[n]->m_pVertices[a.m_apSurfaces[n]->m_Header.numVerts - 1],
                       &b.m_apSurfaces[n]->m_pVertices[b.m_apSurfaces[n]->m_Header.numVerts - 1], sizeof(Md3Vertex)) == 0;
}

void Remove(const std::string& strPath) {
    ::SetFileAttributesA(strPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryA(strPath.c_str()) || ::DeleteFileA(strPath.c_str());
}

// A folder of the test's own, which GetTempPath reports while the object lives.
struct PrivateTemp {
    const char* const pszTmp = std::getenv("TMP");
    const std::string strFolder = ReadTempDirectory() + "FerroAssetTest" + std::to_string(::GetCurrentProcessId()) + "\\";
    const bool bMade = ::CreateDirectoryA(strFolder.c_str(), nullptr) && ::SetEnvironmentVariableA("TMP", strFolder.c_str());
    ~PrivateTemp() {
        ::SetEnvironmentVariableA("TMP", pszTmp);  // as the program started, set or not
        for (const char* pszName : {"embedded.md3", kModelFile, kSkinFile}) Remove(strFolder + pszName);
        EXPECT_TRUE(::RemoveDirectoryA(strFolder.c_str())) << strFolder << " is left behind";
    }
};

// Another saver starting at the same moment (the settings page's preview and
// the saver) writes the files over and over: another copy of this program.
PROCESS_INFORMATION StartOtherSaver() {
    const HANDLE hWriting = ::CreateEventA(nullptr, TRUE, FALSE, "FerroAssetSaver");
    STARTUPINFOW si{};  // no console, so no output
    si.cb = sizeof si;
    std::wstring strCommand = std::wstring(::GetCommandLineW()) + L" --gtest_also_run_disabled_tests --gtest_filter=AssetFileStarts.*";
    PROCESS_INFORMATION saver{};
    EXPECT_TRUE(::CreateProcessW(nullptr, strCommand.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &saver));
    EXPECT_EQ(::WaitForSingleObject(hWriting, 30000), WAIT_OBJECT_0) << "the other saver wrote nothing in 30 s";
    ::CloseHandle(hWriting);
    return saver;
}
TEST(AssetFileStarts, DISABLED_OtherSaverWritingOverAndOver) {
    const HANDLE hWriting = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, "FerroAssetSaver");
    for (int i = 0; i < 5000; ++i, ::SetEvent(hWriting))
        Md3Model().ExtractResourceToTemp("#144", kModelFile), TgaTexture().ExtractResourceToTemp("#143", kSkinFile);
}

// Under each name a file of another valid model and skin that the scene's
// write cannot replace, or can, or another saver's: the scene then draws the
// embedded model and skin or nothing, never the file that was there, nor a
// part of one.
TEST(AssetFiles, SceneDrawsWhatItWroteOrNothingNeverAFileLeftThere) {
    const PrivateTemp temp;
    const SceneContext gl;
    Md3Model embedded;  // as the saver writes it (its end-to-end test compares the file)
    ASSERT_TRUE(temp.bMade && gl.bCurrent && Md3Model().ExtractResourceToTemp("#144", "embedded.md3") &&
                embedded.Load((temp.strFolder + "embedded.md3").c_str()));
    std::string otherModel(std::istreambuf_iterator<char>(std::ifstream(temp.strFolder + "embedded.md3", std::ios::binary).rdbuf()), {});
    otherModel[84] = 1;  // its first surface alone
    const std::string otherSkin("\0\0\2\0\0\0\0\0\0\0\0\0\2\0\2\0\x20\x20" "0123456789abcdef", 34);  // 2 x 2 pixels
    enum Drawn { kNone = 1, kEmbedded = 2, kOther = 4 };  // what may be drawn, as a mask
    const struct { const char* what; DWORD dwAttributes; bool bHeld, bDirectory, bOtherSaver; long long nDiskRoom; int nDrawn; } kPlanted[] = {
        {"an earlier run's, or another program's, hidden and system", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, false, false, false, -1, kEmbedded},
        {"read-only (Wine as root writes it)", FILE_ATTRIBUTE_READONLY, false, false, false, -1, kNone | kEmbedded},
        {"held open by a program that shares no writing", 0, true, false, false, -1, kNone},
        {"a directory", 0, false, true, false, -1, kNone},
        {"on a disk full 16 bytes before the model's end", 0, false, false, false, (long long)otherModel.size() - 16, kNone},
        {"written over and over by another saver", 0, false, false, true, -1, kEmbedded},
    };
    for (const auto& row : kPlanted) {
        std::vector<HANDLE> held;
        for (const auto& [pszName, bytes] : {std::pair{kModelFile, otherModel}, {kSkinFile, otherSkin}}) {
            const std::string strPath = temp.strFolder + pszName;
            if (row.bDirectory) ::CreateDirectoryA(strPath.c_str(), nullptr); else std::ofstream(strPath, std::ios::binary) << bytes;
            if (row.dwAttributes != 0) ::SetFileAttributesA(strPath.c_str(), row.dwAttributes);
            if (row.bHeld) held.push_back(::CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        }
        const PROCESS_INFORMATION saver = row.bOtherSaver ? StartOtherSaver() : PROCESS_INFORMATION{};
        held.insert(held.end(), {saver.hProcess, saver.hThread});
        for (int nStart = 0; nStart < (row.bOtherSaver ? 50 : 1); ++nStart) {
            g_nDiskRoom = row.nDiskRoom;
            InitScene();
            g_nDiskRoom = -1;
            GLint nSkinWidth = -1;  // the embedded skin is wider than the other's 2 pixels
            glBindTexture(GL_TEXTURE_2D, g_uSkinTexture);
            glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &nSkinWidth);
            const int nModel = SameModel(*g_pSceneModel, embedded) ? kEmbedded : g_pSceneModel->m_Header.numSurfaces ? kOther : kNone;
            const int nSkin = nSkinWidth == 0 ? kNone : nSkinWidth == 2 ? kOther : kEmbedded;
            EXPECT_TRUE(nModel & nSkin & row.nDrawn) << row.what << ", start " << nStart << ": model " << nModel << ", skin "
                                                      << nSkin << " (1 none, 2 the embedded one, 4 another)";
            ReleaseScene();
        }
        if (saver.hProcess) ::TerminateProcess(saver.hProcess, 0), ::WaitForSingleObject(saver.hProcess, 10000);
        for (HANDLE hHandle : held) if (hHandle) ::CloseHandle(hHandle);
        for (const char* pszName : {kModelFile, kSkinFile}) Remove(temp.strFolder + pszName);
    }
}

}  // namespace
