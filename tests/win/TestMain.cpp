// The main of the Windows-side test programs. They may run on a person's own
// PC: the saver's settings are put back as they were, however the program
// ends; no run lasts without bound; "--about" reports what the PC offers and
// "--settings" the settings' fingerprint, for the runner. Their application
// object is the saver's.
#include "win/TestPack.h"

#include "audio/AcmMp3Decoder.h"
#include "audio/FileByteSource.h"
#include "audio/Mp3Stream.h"
#include "shell/SceneSaverApp.h"
#include "win/SceneContext.h"

#include <windows.h>
#include <GL/gl.h>

#include <csignal>
#include <cstdio>
#include <mutex>
#include <vector>

namespace {

// The application object has the saver's own identity, so settings land where
// the saver reads them (under kVendorKey), and answers message boxes at once
// instead of showing a modal box that would wait (the scene windows' test
// records them).
struct CTestApp : CWinApp {
    CTestApp() {
        SetSaverIdentity(*this);
        SetMessageBoxHook([](const char*, const char*, UINT) { return IDOK; });
    }
} theTestApp;

const wchar_t kVendorKey[] = L"Software\\Vantrel";

// A registry key as it was: values with their types and bytes, and subkeys.
struct SavedKey {
    struct Value { std::wstring strName; DWORD nType; std::vector<BYTE> data; };
    std::wstring strName;
    std::vector<Value> values;
    std::vector<SavedKey> subkeys;
};
bool g_bKeyExisted = false;
SavedKey g_savedKey;
std::mutex g_restoring;

// Also appends every name, type and byte to the fingerprint.
bool SaveKey(HKEY hParent, const std::wstring& strName, SavedKey& key, std::wstring& strPrint) {
    HKEY hKey;
    if (::RegOpenKeyExW(hParent, strName.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS) return false;
    key.strName = strName;
    strPrint += L"[" + strName + L"]";
    std::vector<wchar_t> name(32768);
    for (DWORD i = 0, nName, nType, nData; nName = DWORD(name.size()), nData = 0,
         ::RegEnumValueW(hKey, i, name.data(), &nName, nullptr, &nType, nullptr, &nData) == ERROR_SUCCESS; ++i) {
        SavedKey::Value value{ std::wstring(name.data(), nName), nType, std::vector<BYTE>(nData) };
        nName = DWORD(name.size());
        ::RegEnumValueW(hKey, i, name.data(), &nName, nullptr, &nType, value.data.data(), &nData);
        strPrint += value.strName + L"=" + std::to_wstring(nType) + L":" + std::wstring(value.data.begin(), value.data.end());
        key.values.push_back(std::move(value));
    }
    for (DWORD i = 0, nName; nName = DWORD(name.size()),
         ::RegEnumKeyExW(hKey, i, name.data(), &nName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS; ++i) {
        key.subkeys.emplace_back();
        SaveKey(hKey, std::wstring(name.data(), nName), key.subkeys.back(), strPrint);
    }
    ::RegCloseKey(hKey);
    return true;
}

void WriteKey(HKEY hParent, const SavedKey& key) {
    HKEY hKey;
    if (::RegCreateKeyExW(hParent, key.strName.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr)) return;
    for (const SavedKey::Value& value : key.values)
        ::RegSetValueExW(hKey, value.strName.c_str(), 0, value.nType, value.data.data(), DWORD(value.data.size()));
    for (const SavedKey& subkey : key.subkeys) WriteKey(hKey, subkey);
    ::RegCloseKey(hKey);
}

// Every way out of the program passes here (also more than once).
void RestoreSettings() {
    const std::lock_guard<std::mutex> lock(g_restoring);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kVendorKey);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kVendorKey);
    if (g_bKeyExisted) WriteKey(HKEY_CURRENT_USER, g_savedKey);
}

// A program that has not ended after this long never will: it says where it
// was, puts the settings back and ends with a failure.
const DWORD kLimitMs = 180000;
DWORD WINAPI Watchdog(LPVOID pStarted) {
    ::SetEvent(static_cast<HANDLE>(pStarted));
    ::Sleep(kLimitMs);
    const auto* pInfo = ::testing::UnitTest::GetInstance()->current_test_info();
    std::printf("\nFAILED: still running after %lu s, in %s\n", kLimitMs / 1000, pInfo ? pInfo->name() : "no test");
    std::fflush(stdout);
    RestoreSettings();
    ::TerminateProcess(::GetCurrentProcess(), 3);
    return 0;
}

// The watchdog has begun before the sound probe starts the sound stack's
// threads: the harness adds no thread start of its own to theirs (see the
// heap-checking traps in docs/windows-test-pack.md).
void StartWatchdog() {
    const HANDLE hStarted = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const HANDLE hThread = ::CreateThread(nullptr, 0, Watchdog, hStarted, 0, nullptr);
    // Left open when the watchdog has not begun in time: it may still set it.
    if (!hThread || ::WaitForSingleObject(hStarted, 10000) == WAIT_OBJECT_0) ::CloseHandle(hStarted);
    if (hThread) ::CloseHandle(hThread);
}

// The OpenGL driver a scene window gets, as "renderer, version".
std::string OpenGLDriver() {
    const SceneContext gl;
    if (!gl.bCurrent) return "none";
    return std::string(reinterpret_cast<const char*>(glGetString(GL_RENDERER))) + ", " + reinterpret_cast<const char*>(glGetString(GL_VERSION));
}

// What the PC lacks, probed once before any test runs. Under Wine, an MP3
// stream of the codec opened or closed on one thread while another thread
// opens or closes its own corrupts the codec's heap now and then ("free block
// overwritten"); a test's music thread does that whenever it starts or stops.
const char* ProbeSoundDevice() {
    WAVEFORMATEX pcm{ WAVE_FORMAT_PCM, 2, 44100, 44100 * 4, 4, 16, 0 };
    const bool bFound = ::waveOutOpen(nullptr, WAVE_MAPPER, &pcm, 0, 0, WAVE_FORMAT_QUERY) == MMSYSERR_NOERROR;
    return bFound ? nullptr : "no sound output device";
}

// Whether the system's codec takes the frames of the tone beside the program.
const char* ProbeMp3Codec() {
    FileByteSource bytes;
    ByteWindow head(bytes);
    Mp3Stream stream;
    AcmMp3Decoder decoder;
    const bool bFound = bytes.Open(ToneNextToProgram().c_str(), 0, 0) && stream.Parse(head) &&
                        decoder.Open(stream.firstHeader) && decoder.Close();
    return bFound ? nullptr : "no MP3 codec (Windows without its media features)";
}
const char* g_pszNoSoundDevice = nullptr;
const char* g_pszNoMp3Codec = nullptr;

}  // namespace

const char* MissingSoundDevice() { return g_pszNoSoundDevice; }
const char* MissingMp3Codec() { return g_pszNoMp3Codec; }

std::string ToneNextToProgram() {
    std::vector<wchar_t> path(32768), shortPath(32768);
    path.resize(::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size())));
    std::wstring strPath(path.begin(), path.end());
    strPath = strPath.substr(0, strPath.find_last_of(L'\\') + 1);
    if (::GetShortPathNameW(strPath.c_str(), shortPath.data(), DWORD(shortPath.size())) > 0) strPath = shortPath.data();
    BOOL bLost = FALSE;
    char szPath[MAX_PATH * 4];
    const int nLength = ::WideCharToMultiByte(CP_ACP, 0, strPath.c_str(), -1, szPath, sizeof szPath, nullptr, &bLost);
    return nLength > 0 && !bLost ? std::string(szPath) + "audio_tone.mp3" : std::string();
}

int main(int argc, char** argv) {
    const std::string strSwitch = argc == 2 ? argv[1] : "";
    std::wstring strPrint;
    g_bKeyExisted = SaveKey(HKEY_CURRENT_USER, kVendorKey, g_savedKey, strPrint);
    if (strSwitch == "--settings")
        return std::printf("%zu\n", g_bKeyExisted ? std::hash<std::wstring>()(strPrint) : 0), 0;
    StartWatchdog();
    g_pszNoSoundDevice = ProbeSoundDevice();
    g_pszNoMp3Codec = ProbeMp3Codec();
    if (strSwitch == "--about")
        return std::printf("OpenGL: %s\nsound output device: %s\nMP3 codec: %s\n", OpenGLDriver().c_str(),
                           MissingSoundDevice() ? "none" : "found", MissingMp3Codec() ? "none" : "found"), 0;
    std::atexit(RestoreSettings);
    std::signal(SIGABRT, [](int) { RestoreSettings(); });
    ::SetUnhandledExceptionFilter([](EXCEPTION_POINTERS*) -> LONG { return RestoreSettings(), EXCEPTION_CONTINUE_SEARCH; });
    // Ctrl+C, Ctrl+Break or a closed console end the program without its exit
    // handlers; the system's own handling ends it once the settings are back.
    ::SetConsoleCtrlHandler([](DWORD) -> BOOL { return RestoreSettings(), FALSE; }, TRUE);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
