// What Windows reads from the real Ferrovane.scr beside this program before it
// runs a line of it: the description and icon it lists, the application
// manifest (through an activation context made from the file, as the loader
// makes one) and the version resource that Explorer shows.
#include "Version.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::wstring ScreenSaverPath()
{
    wchar_t path[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path);
    return s.substr(0, s.find_last_of(L'\\') + 1) + L"Ferrovane.scr";
}

TEST(Listing, DescriptionAndIcon)
{
    HMODULE hModule = ::LoadLibraryExW(ScreenSaverPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, hModule);
    char text[128] = "0xdeadbeef";
    EXPECT_GT(::LoadStringA(hModule, IDS_DESCRIPTION, text, sizeof text), 0);
    EXPECT_STREQ("Ferrovane ScreenSaver", text);
    EXPECT_NE(nullptr, ::FindResourceA(hModule, MAKEINTRESOURCEA(IDI_FERROVANE), RT_GROUP_ICON));
    HRSRC hManifest = ::FindResourceW(hModule, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(nullptr, hManifest);
    const std::string manifest(static_cast<const char*>(::LockResource(::LoadResource(hModule, hManifest))),
                               ::SizeofResource(hModule, hManifest));
    // The manifest is not generated: its identity follows the project version by hand.
    EXPECT_NE(std::string::npos, manifest.find("name=\"Vantrel.Ferrovane.ScreenSaver\" version=\""
                                               FERRO_VERSION_STRING ".0\""));
    ::FreeLibrary(hModule);
}

class Manifest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::wstring path = ScreenSaverPath();
        ACTCTXW ctx = {};
        ctx.cbSize = sizeof ctx;
        ctx.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        ctx.lpSource = path.c_str();
        ctx.lpResourceName = MAKEINTRESOURCEW(1);  // CREATEPROCESS_MANIFEST_RESOURCE_ID
        m_hActCtx = ::CreateActCtxW(&ctx);
        ASSERT_NE(INVALID_HANDLE_VALUE, m_hActCtx) << "error " << ::GetLastError();
    }
    void TearDown() override
    {
        if (m_hActCtx != INVALID_HANDLE_VALUE)
            ::ReleaseActCtx(m_hActCtx);
    }
    std::wstring Setting(const wchar_t* pszNamespace, const wchar_t* pszName) const
    {
        wchar_t value[128] = L"<not written>";
        SIZE_T nWritten = 0;
        if (!::QueryActCtxSettingsW(0, m_hActCtx, pszNamespace, pszName, value, 128, &nWritten))
            return L"<error " + std::to_wstring(::GetLastError()) + L">";
        return value;
    }
    HANDLE m_hActCtx = INVALID_HANDLE_VALUE;
};

TEST_F(Manifest, DeclaresPerMonitorV2WithSystemAwareFallback)
{
    EXPECT_EQ(L"true/pm", Setting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"));
    EXPECT_EQ(L"PerMonitorV2, PerMonitor",
              Setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"));
}

TEST_F(Manifest, ListsWindows7To11)
{
    static const GUID kSystems[] = {  // 7, 8, 8.1, 10 and 11
        {0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}},
        {0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}},
        {0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}},
        {0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}},
    };
    std::vector<unsigned char> info(1024, 0xcc);
    SIZE_T nWritten = 0xdeadbeef;
    ASSERT_TRUE(::QueryActCtxW(0, m_hActCtx, nullptr, CompatibilityInformationInActivationContext,
                               info.data(), info.size(), &nWritten));
    ASSERT_LE(nWritten, info.size());
    DWORD nCount = 0xdeadbeef;
    std::memcpy(&nCount, info.data(), sizeof nCount);
    EXPECT_EQ(4u, nCount);
    const auto end = info.begin() + static_cast<std::ptrdiff_t>(nWritten);
    for (const GUID& system : kSystems) {  // the element layout grew over Windows versions
        const auto* p = reinterpret_cast<const unsigned char*>(&system);
        EXPECT_NE(end, std::search(info.begin(), end, p, p + sizeof system)) << std::hex << system.Data1;
    }
}

// Under the program's context "comctl32.dll" is the Common Controls 6 assembly
// from the side-by-side store (Wine's copy reports 5 from DllGetVersion either
// way: the path tells).
TEST_F(Manifest, BringsCommonControlsSix)
{
    ULONG_PTR uCookie = 0;
    ASSERT_TRUE(::ActivateActCtx(m_hActCtx, &uCookie));
    HMODULE hComCtl = ::LoadLibraryW(L"comctl32.dll");
    ASSERT_TRUE(::DeactivateActCtx(0, uCookie));
    ASSERT_NE(nullptr, hComCtl);
    wchar_t path[MAX_PATH] = L"<not written>";
    ::GetModuleFileNameW(hComCtl, path, MAX_PATH);
    ::CharLowerW(path);
    EXPECT_NE(nullptr, std::wcsstr(path, L"\\winsxs\\amd64_microsoft.windows.common-controls_6595b64144ccf1df_6."))
        << path;
    ::FreeLibrary(hComCtl);
}

std::wstring VersionString(const std::vector<unsigned char>& data, const wchar_t* pszName)
{
    struct { WORD wLanguage, wCodePage; }* pTranslation = nullptr;
    UINT nLength = 0;
    if (!::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                          reinterpret_cast<void**>(&pTranslation), &nLength) || nLength < 4)
        return L"<no translation>";
    wchar_t query[96];
    swprintf(query, 96, L"\\StringFileInfo\\%04x%04x\\%ls", pTranslation->wLanguage,
             pTranslation->wCodePage, pszName);
    wchar_t* pszValue = nullptr;
    if (!::VerQueryValueW(data.data(), query, reinterpret_cast<void**>(&pszValue), &nLength))
        return L"<missing>";
    return pszValue;
}

TEST(VersionResource, NamesTheProductAndItsVersion)
{
    const std::wstring path = ScreenSaverPath();
    DWORD dwHandle = 0;
    std::vector<unsigned char> data(::GetFileVersionInfoSizeW(path.c_str(), &dwHandle));
    ASSERT_FALSE(data.empty()) << "no version resource";
    ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
    const std::string version = FERRO_VERSION_STRING;
    const struct { const wchar_t* name; std::wstring value; } strings[] = {
        { L"FileDescription", L"Ferrovane ScreenSaver" }, { L"ProductName", L"Ferrovane ScreenSaver" },
        { L"OriginalFilename", L"Ferrovane.scr" },
        { L"FileVersion", std::wstring(version.begin(), version.end()) },
        { L"ProductVersion", std::wstring(version.begin(), version.end()) },
    };
    for (const auto& row : strings)
        EXPECT_EQ(row.value, VersionString(data, row.name)) << row.name;
    VS_FIXEDFILEINFO* pFixed = nullptr;
    UINT nLength = 0;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&pFixed), &nLength));
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(FERRO_VERSION_MINOR, FERRO_VERSION_MAJOR)), pFixed->dwFileVersionMS);
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(0, FERRO_VERSION_PATCH)), pFixed->dwFileVersionLS);
    EXPECT_EQ(pFixed->dwFileVersionMS, pFixed->dwProductVersionMS);
    EXPECT_EQ(pFixed->dwFileVersionLS, pFixed->dwProductVersionLS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), pFixed->dwFileType);
}

}  // namespace
