// The main of the Windows-side test programs. They may run on a person's own
// PC: the saver's settings are put back as they were, however the program
// ends; no run lasts without bound; "--about" reports what the PC offers.
#include "win/TestPack.h"

#include "audio/AcmMp3Decoder.h"
#include "audio/Mp3Stream.h"
#include "scene/PixelFormat.h"

#include <windows.h>
#include <GL/gl.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

namespace {

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
CRITICAL_SECTION g_restoring;

bool SaveKey(HKEY hParent, const std::wstring& strName, SavedKey& key)
{
    HKEY hKey;
    if (::RegOpenKeyExW(hParent, strName.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    key.strName = strName;
    std::vector<wchar_t> name(32768);
    for (DWORD i = 0;; ++i) {
        DWORD nName = DWORD(name.size()), nType = 0, nData = 0;
        if (::RegEnumValueW(hKey, i, name.data(), &nName, nullptr, &nType, nullptr, &nData) != ERROR_SUCCESS)
            break;
        SavedKey::Value value{ std::wstring(name.data(), nName), nType, std::vector<BYTE>(nData) };
        nName = DWORD(name.size());
        ::RegEnumValueW(hKey, i, name.data(), &nName, nullptr, &nType, value.data.data(), &nData);
        key.values.push_back(std::move(value));
    }
    for (DWORD i = 0;; ++i) {
        DWORD nName = DWORD(name.size());
        if (::RegEnumKeyExW(hKey, i, name.data(), &nName, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        key.subkeys.emplace_back();
        SaveKey(hKey, std::wstring(name.data(), nName), key.subkeys.back());
    }
    ::RegCloseKey(hKey);
    return true;
}

void WriteKey(HKEY hParent, const SavedKey& key)
{
    HKEY hKey;
    if (::RegCreateKeyExW(hParent, key.strName.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr) != ERROR_SUCCESS)
        return;
    for (const SavedKey::Value& value : key.values)
        ::RegSetValueExW(hKey, value.strName.c_str(), 0, value.nType, value.data.data(), DWORD(value.data.size()));
    for (const SavedKey& subkey : key.subkeys)
        WriteKey(hKey, subkey);
    ::RegCloseKey(hKey);
}

// Every way out of the program passes here (also more than once).
void RestoreSettings()
{
    ::EnterCriticalSection(&g_restoring);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kVendorKey);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kVendorKey);
    if (g_bKeyExisted)
        WriteKey(HKEY_CURRENT_USER, g_savedKey);
    ::LeaveCriticalSection(&g_restoring);
}

LONG WINAPI RestoreOnCrash(EXCEPTION_POINTERS*)
{
    RestoreSettings();
    return EXCEPTION_CONTINUE_SEARCH;
}

// A program that has not ended after this long never will: it says where it
// was, puts the settings back and ends with a failure.
const DWORD kLimitMs = 180000;
DWORD WINAPI Watchdog(LPVOID)
{
    ::Sleep(kLimitMs);
    const auto* pInfo = ::testing::UnitTest::GetInstance()->current_test_info();
    std::printf("\nFAILED: still running after %lu s, in %s\n", kLimitMs / 1000,
                pInfo ? pInfo->name() : "no test");
    std::fflush(stdout);
    RestoreSettings();
    ::TerminateProcess(::GetCurrentProcess(), 3);
    return 0;
}

// The OpenGL driver a scene window gets, as "renderer, version".
std::string OpenGLDriver()
{
    std::string strDriver = "none";
    HWND hWnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 16, 16, nullptr, nullptr, nullptr, nullptr);
    HDC hDC = ::GetDC(hWnd);
    const PIXELFORMATDESCRIPTOR pfd = ScenePixelFormatDescriptor();
    HGLRC hRC = ::SetPixelFormat(hDC, ::ChoosePixelFormat(hDC, &pfd), &pfd) ? ::wglCreateContext(hDC) : nullptr;
    if (hRC != nullptr && ::wglMakeCurrent(hDC, hRC)) {
        strDriver = std::string(reinterpret_cast<const char*>(glGetString(GL_RENDERER))) + ", " +
                    reinterpret_cast<const char*>(glGetString(GL_VERSION));
        ::wglMakeCurrent(nullptr, nullptr);
    }
    ::wglDeleteContext(hRC);
    ::ReleaseDC(hWnd, hDC);
    ::DestroyWindow(hWnd);
    return strDriver;
}

bool HasSoundDevice()
{
    WAVEFORMATEX pcm{ WAVE_FORMAT_PCM, 2, 44100, 44100 * 4, 4, 16, 0 };
    return ::waveOutGetNumDevs() > 0 &&
           ::waveOutOpen(nullptr, WAVE_MAPPER, &pcm, 0, 0, WAVE_FORMAT_QUERY) == MMSYSERR_NOERROR;
}

// Whether the system's codec takes the frames of the tone beside the program.
bool HasMp3Codec()
{
    std::ifstream in(AnsiPathNextToProgram("audio_tone.mp3"), std::ios::binary);
    const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    MemoryByteSource bytes(file.data(), file.size());
    ByteWindow head(bytes);
    Mp3Stream stream;
    AcmMp3Decoder decoder;
    return stream.Parse(head) && decoder.Open(stream.firstHeader) && decoder.Close();
}

// The settings as one line for the runner to compare: "none" when the key is
// missing, else a hash of every name, type and byte under it.
std::string SettingsDigest()
{
    SavedKey key;
    if (!SaveKey(HKEY_CURRENT_USER, kVendorKey, key))
        return "none";
    unsigned long long nHash = 14695981039346656037ull;
    const auto add = [&](const void* p, size_t n) {
        for (size_t i = 0; i < n; ++i)
            nHash = (nHash ^ static_cast<const BYTE*>(p)[i]) * 1099511628211ull;
    };
    const std::function<void(const SavedKey&)> addKey = [&](const SavedKey& k) {
        add(k.strName.c_str(), (k.strName.size() + 1) * 2);
        for (const SavedKey::Value& v : k.values) {
            add(v.strName.c_str(), (v.strName.size() + 1) * 2);
            add(&v.nType, sizeof v.nType);
            add(v.data.data(), v.data.size()), add("|", 1);
        }
        for (const SavedKey& sub : k.subkeys)
            addKey(sub), add("/", 1);
    };
    addKey(key);
    return std::to_string(nHash);
}

std::string WindowsVersion()
{
    RTL_OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    const auto pGetVersion = reinterpret_cast<LONG(WINAPI*)(RTL_OSVERSIONINFOW*)>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "RtlGetVersion")));
    if (pGetVersion == nullptr || pGetVersion(&info) != 0)
        return "unknown";
    return std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion) + "." +
           std::to_string(info.dwBuildNumber);
}

}  // namespace

const char* MissingSoundDevice() { return HasSoundDevice() ? nullptr : "no sound output device"; }
const char* MissingMp3Codec() { return HasMp3Codec() ? nullptr : "no MP3 codec (Windows without its media features)"; }

std::string AnsiPathNextToProgram(const char* pszFile)
{
    std::vector<wchar_t> path(32768);
    path.resize(::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size())));
    std::wstring strPath(path.begin(), path.end());
    strPath = strPath.substr(0, strPath.find_last_of(L'\\') + 1);
    std::vector<wchar_t> shortPath(32768);
    if (::GetShortPathNameW(strPath.c_str(), shortPath.data(), DWORD(shortPath.size())) > 0)
        strPath = shortPath.data();
    BOOL bLost = FALSE;
    char szPath[MAX_PATH * 4];
    const int nLength = ::WideCharToMultiByte(CP_ACP, 0, strPath.c_str(), -1, szPath, sizeof szPath, nullptr, &bLost);
    return nLength > 0 && !bLost ? std::string(szPath) + pszFile : std::string();
}

int main(int argc, char** argv)
{
    // The runner's questions: what the PC offers, and the settings as they are.
    if (argc == 2 && std::string(argv[1]) == "--about") {
        std::printf("Windows: %s\nOpenGL: %s\nsound output device: %s\nMP3 codec: %s\n",
                    WindowsVersion().c_str(), OpenGLDriver().c_str(), HasSoundDevice() ? "found" : "none",
                    HasMp3Codec() ? "found" : "none");
        return 0;
    }
    if (argc == 2 && std::string(argv[1]) == "--settings")
        return std::printf("%s\n", SettingsDigest().c_str()), 0;
    ::InitializeCriticalSection(&g_restoring);
    g_bKeyExisted = SaveKey(HKEY_CURRENT_USER, kVendorKey, g_savedKey);
    std::atexit(RestoreSettings);
    std::signal(SIGABRT, [](int) { RestoreSettings(); });
    ::SetUnhandledExceptionFilter(RestoreOnCrash);
    ::CloseHandle(::CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
