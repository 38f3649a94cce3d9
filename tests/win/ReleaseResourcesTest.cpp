// What Windows reads from the real Ferrovane.scr beside this program before it
// runs a line of it: the description and icon it lists, the application
// manifest's effect (through an activation context made from the file, as the
// loader makes one) and the
// version resource that Explorer shows, against the project's version as the
// build passes it here, not through the resource's own header.
#include "res/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

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

TEST(Resources, DescriptionAndIcon)
{
    HMODULE hModule = ::LoadLibraryExW(ScreenSaverPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, hModule);
    char text[128] = "<not written>";
    ::LoadStringA(hModule, IDS_DESCRIPTION, text, sizeof text);
    EXPECT_STREQ("Ferrovane ScreenSaver", text);
    EXPECT_NE(nullptr, ::FindResourceA(hModule, MAKEINTRESOURCEA(IDI_FERROVANE), RT_GROUP_ICON));
    ::FreeLibrary(hModule);
}

// The activation context the loader makes from the program's manifest:
// "comctl32.dll" is then the Common Controls 6 assembly from the side-by-side
// store (Wine's reports 5 from DllGetVersion either way: the path tells); the
// DPI awareness the system gives the saver is the newer setting (Windows 10
// 1607 on, and Wine), or the older one where only it is read (Windows 7 to 8.1).
TEST(Resources, ManifestGivesCommonControls6AndPerMonitorDpiAwareness)
{
    const std::wstring path = ScreenSaverPath();
    // The manifest's resource: CREATEPROCESS_MANIFEST_RESOURCE_ID.
    ACTCTXW ctx{ sizeof ctx, ACTCTX_FLAG_RESOURCE_NAME_VALID, path.c_str(), 0, 0, nullptr, MAKEINTRESOURCEW(1),
                 nullptr, nullptr };
    HANDLE hActCtx = ::CreateActCtxW(&ctx);
    ASSERT_NE(INVALID_HANDLE_VALUE, hActCtx) << "error " << ::GetLastError();
    ULONG_PTR uCookie = 0;
    ASSERT_TRUE(::ActivateActCtx(hActCtx, &uCookie));
    HMODULE hComCtl = ::LoadLibraryW(L"comctl32.dll");
    ::DeactivateActCtx(0, uCookie);
    wchar_t comctl[MAX_PATH] = L"<not written>";
    ::GetModuleFileNameW(hComCtl, comctl, MAX_PATH);
    EXPECT_NE(nullptr, std::wcsstr(::CharLowerW(comctl), L"\\winsxs\\amd64_microsoft.windows.common-controls_6595b64144ccf1df_6."))
        << comctl;
    ::FreeLibrary(hComCtl);
    const struct { const wchar_t* pszNamespace; const wchar_t* pszName; const wchar_t* pszValue; } settings[] = {
        { L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness", L"PerMonitorV2, PerMonitor" },
        { L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", L"true/pm" },
    };
    for (const auto& row : settings) {
        wchar_t value[64] = L"<not written>";
        SIZE_T nWritten = 0;
        EXPECT_TRUE(::QueryActCtxSettingsW(0, hActCtx, row.pszNamespace, row.pszName, value, 64, &nWritten))
            << "no " << row.pszName;
        EXPECT_STREQ(row.pszValue, value) << row.pszName;
    }
    ::ReleaseActCtx(hActCtx);
}

// Explorer's Details show the strings and the fixed version numbers.
TEST(Resources, VersionNamesTheProductAndItsVersion)
{
    const std::wstring path = ScreenSaverPath();
    std::vector<unsigned char> data(::GetFileVersionInfoSizeW(path.c_str(), nullptr));
    ASSERT_FALSE(data.empty()) << "no version resource";
    ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
    WORD* pTranslation = nullptr;
    UINT nLength = 0;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                                 reinterpret_cast<void**>(&pTranslation), &nLength));
    for (const auto& [pszName, strValue] : { std::pair<const wchar_t*, std::wstring>{ L"FileDescription", L"Ferrovane ScreenSaver" },
             { L"ProductName", L"Ferrovane ScreenSaver" }, { L"OriginalFilename", L"Ferrovane.scr" },
             { L"FileVersion", L"" FERRO_RELEASE_VERSION }, { L"ProductVersion", L"" FERRO_RELEASE_VERSION } }) {
        wchar_t query[96];
        swprintf(query, 96, L"\\StringFileInfo\\%04x%04x\\%ls", pTranslation[0], pTranslation[1], pszName);
        wchar_t* pszValue = nullptr;
        EXPECT_TRUE(::VerQueryValueW(data.data(), query, reinterpret_cast<void**>(&pszValue), &nLength));
        EXPECT_EQ(strValue, pszValue ? pszValue : L"<missing>") << pszName;
    }
    VS_FIXEDFILEINFO* pFixed = nullptr;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&pFixed), &nLength));
    for (const auto& [nMS, nLS] : { std::pair{ pFixed->dwFileVersionMS, pFixed->dwFileVersionLS },
                                     { pFixed->dwProductVersionMS, pFixed->dwProductVersionLS } }) {
        char szFixed[48];
        std::snprintf(szFixed, sizeof szFixed, "%u.%u.%u.%u", HIWORD(nMS), LOWORD(nMS), HIWORD(nLS), LOWORD(nLS));
        EXPECT_STREQ(FERRO_RELEASE_VERSION ".0", szFixed);
    }
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), pFixed->dwFileType);
}

}  // namespace
