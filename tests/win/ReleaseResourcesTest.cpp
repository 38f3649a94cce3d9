// What Windows reads from the real Ferrovane.scr beside this program before it
// runs a line of it: the description and icon it lists, the application
// manifest (through an activation context made from the file, as the loader
// makes one) and the version resource that Explorer shows, against the
// project's version as the build passes it here, not through the resource's
// own header.
#include "res/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::wstring ScreenSaverPath()
{
    wchar_t path[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, std::wcsrchr(path, L'\\') + 1) + L"Ferrovane.scr";
}

TEST(Resources, DescriptionIconAndManifestIdentity)
{
    HMODULE hModule = ::LoadLibraryExW(ScreenSaverPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, hModule);
    char text[128] = "<not written>";
    ::LoadStringA(hModule, IDS_DESCRIPTION, text, sizeof text);
    EXPECT_STREQ("Ferrovane ScreenSaver", text);
    EXPECT_NE(nullptr, ::FindResourceA(hModule, MAKEINTRESOURCEA(IDI_FERROVANE), RT_GROUP_ICON));
    HRSRC hManifest = ::FindResourceW(hModule, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(nullptr, hManifest);
    const std::string manifest(static_cast<const char*>(::LockResource(::LoadResource(hModule, hManifest))),
                               ::SizeofResource(hModule, hManifest));
    // Written by hand: its identity must follow the project's version.
    EXPECT_NE(std::string::npos, manifest.find("\"Vantrel.Ferrovane.ScreenSaver\" version=\""
                                               FERRO_RELEASE_VERSION ".0\""));
    ::FreeLibrary(hModule);
}

TEST(Resources, ManifestAsTheLoaderReadsIt)
{
    const std::wstring path = ScreenSaverPath();
    ACTCTXW ctx{};
    ctx.cbSize = sizeof ctx;
    ctx.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    ctx.lpSource = path.c_str();
    ctx.lpResourceName = MAKEINTRESOURCEW(1);  // CREATEPROCESS_MANIFEST_RESOURCE_ID
    HANDLE hActCtx = ::CreateActCtxW(&ctx);
    ASSERT_NE(INVALID_HANDLE_VALUE, hActCtx) << "error " << ::GetLastError();
    wchar_t dpiAware[64] = L"<not written>", dpiAwareness[64] = L"<not written>";
    ::QueryActCtxSettingsW(0, hActCtx, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings",
                           L"dpiAware", dpiAware, 64, nullptr);
    ::QueryActCtxSettingsW(0, hActCtx, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                           L"dpiAwareness", dpiAwareness, 64, nullptr);
    EXPECT_STREQ(L"true/pm", dpiAware);
    EXPECT_STREQ(L"PerMonitorV2, PerMonitor", dpiAwareness);

    static const GUID kSystems[] = {  // Windows 7, 8, 8.1, 10 and 11
        {0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}},
        {0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}},
        {0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}},
        {0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}},
    };
    std::vector<unsigned char> info(1024, 0xcc);
    SIZE_T nWritten = 0;
    ASSERT_TRUE(::QueryActCtxW(0, hActCtx, nullptr, CompatibilityInformationInActivationContext,
                               info.data(), info.size(), &nWritten));
    EXPECT_EQ(4, info[0]);  // the count leads; the element layout grew over Windows versions
    for (const GUID& system : kSystems) {
        const auto* p = reinterpret_cast<const unsigned char*>(&system);
        EXPECT_NE(info.begin() + nWritten, std::search(info.begin(), info.begin() + nWritten, p, p + 16))
            << std::hex << system.Data1;
    }

    // "comctl32.dll" is then the Common Controls 6 assembly from the side-by-side
    // store (Wine's reports 5 from DllGetVersion either way: the path tells).
    ULONG_PTR uCookie = 0;
    ASSERT_TRUE(::ActivateActCtx(hActCtx, &uCookie));
    HMODULE hComCtl = ::LoadLibraryW(L"comctl32.dll");
    ::DeactivateActCtx(0, uCookie);
    wchar_t comctl[MAX_PATH] = L"<not written>";
    ::GetModuleFileNameW(hComCtl, comctl, MAX_PATH);
    EXPECT_NE(nullptr, std::wcsstr(::CharLowerW(comctl), L"\\winsxs\\amd64_microsoft.windows.common-controls_6595b64144ccf1df_6."))
        << comctl;
    ::FreeLibrary(hComCtl);
    ::ReleaseActCtx(hActCtx);
}

TEST(Resources, VersionNamesTheProductAndItsVersion)
{
    const std::wstring path = ScreenSaverPath();
    std::vector<unsigned char> data(::GetFileVersionInfoSizeW(path.c_str(), nullptr));
    ASSERT_FALSE(data.empty()) << "no version resource";
    ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
    const std::string version = FERRO_RELEASE_VERSION;
    unsigned nMajor = 0, nMinor = 0, nPatch = 0;
    ASSERT_EQ(3, std::sscanf(FERRO_RELEASE_VERSION, "%u.%u.%u", &nMajor, &nMinor, &nPatch));
    const struct { const wchar_t* name; std::wstring value; } strings[] = {
        { L"FileDescription", L"Ferrovane ScreenSaver" }, { L"ProductName", L"Ferrovane ScreenSaver" },
        { L"OriginalFilename", L"Ferrovane.scr" },
        { L"FileVersion", std::wstring(version.begin(), version.end()) },
        { L"ProductVersion", std::wstring(version.begin(), version.end()) },
    };
    WORD* pTranslation = nullptr;
    UINT nLength = 0;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                                 reinterpret_cast<void**>(&pTranslation), &nLength));
    for (const auto& row : strings) {
        wchar_t query[96];
        swprintf(query, 96, L"\\StringFileInfo\\%04x%04x\\%ls", pTranslation[0], pTranslation[1], row.name);
        wchar_t* pszValue = nullptr;
        EXPECT_TRUE(::VerQueryValueW(data.data(), query, reinterpret_cast<void**>(&pszValue), &nLength));
        EXPECT_EQ(row.value, pszValue ? pszValue : L"<missing>") << row.name;
    }
    VS_FIXEDFILEINFO* pFixed = nullptr;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&pFixed), &nLength));
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(nMinor, nMajor)), pFixed->dwProductVersionMS);
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(0, nPatch)), pFixed->dwProductVersionLS);
    EXPECT_EQ(pFixed->dwProductVersionMS, pFixed->dwFileVersionMS);
    EXPECT_EQ(pFixed->dwProductVersionLS, pFixed->dwFileVersionLS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), pFixed->dwFileType);
}

}  // namespace
