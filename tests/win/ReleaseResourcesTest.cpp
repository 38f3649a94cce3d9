// What Windows reads from the real Ferrovane.scr beside this program before it
// runs a line of it: the application manifest (through an activation context
// made from the file, as the loader makes one) and the version resource that
// Explorer shows.
#include "Version.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace {

std::wstring ScreenSaverPath()
{
    wchar_t path[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path);
    return s.substr(0, s.find_last_of(L'\\') + 1) + L"Ferrovane.scr";
}

// --- manifest ------------------------------------------------------------------

const wchar_t kSettings2005[] = L"http://schemas.microsoft.com/SMI/2005/WindowsSettings";
const wchar_t kSettings2016[] = L"http://schemas.microsoft.com/SMI/2016/WindowsSettings";

class Manifest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_strPath = ScreenSaverPath();
        ACTCTXW ctx = {};
        ctx.cbSize = sizeof ctx;
        ctx.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        ctx.lpSource = m_strPath.c_str();
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
        wchar_t value[128];
        std::wmemset(value, L'#', 128);
        SIZE_T nWritten = 0xdeadbeef;
        if (!::QueryActCtxSettingsW(0, m_hActCtx, pszNamespace, pszName, value, 128, &nWritten))
            return L"<error " + std::to_wstring(::GetLastError()) + L">";
        return value;
    }
    std::wstring m_strPath;
    HANDLE m_hActCtx = INVALID_HANDLE_VALUE;
};

TEST_F(Manifest, IsResourceOneOfTypeManifest)
{
    const std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&::FreeLibrary)> module(
        ::LoadLibraryExW(m_strPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE), &::FreeLibrary);
    const HMODULE hModule = module.get();
    ASSERT_NE(nullptr, hModule);
    HRSRC hRes = ::FindResourceW(hModule, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(nullptr, hRes);
    const DWORD nSize = ::SizeofResource(hModule, hRes);
    const char* pText = static_cast<const char*>(::LockResource(::LoadResource(hModule, hRes)));
    ASSERT_NE(nullptr, pText);
    const std::string strText(pText, nSize);
    EXPECT_EQ(0u, strText.find("<?xml")) << strText.substr(0, 40);
    EXPECT_NE(std::string::npos, strText.find("</assembly>"));
    // The manifest is not generated: its identity follows the project version by hand.
    const std::string strIdentity =
        "name=\"Vantrel.Ferrovane.ScreenSaver\" version=\"" FERRO_VERSION_STRING ".0\"";
    EXPECT_NE(std::string::npos, strText.find(strIdentity)) << strIdentity;
}

TEST_F(Manifest, DeclaresPerMonitorV2WithSystemAwareFallback)
{
    EXPECT_EQ(L"true/pm", Setting(kSettings2005, L"dpiAware"));
    EXPECT_EQ(L"PerMonitorV2, PerMonitor", Setting(kSettings2016, L"dpiAwareness"));
}

TEST_F(Manifest, ListsWindows7To11)
{
    static const GUID kSystems[] = {
        // 7, 8, 8.1, 10 and 11
        {0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}},
        {0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}},
        {0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}},
        {0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}},
    };
    std::vector<unsigned char> info(1024, 0xcc);
    SIZE_T nWritten = 0xdeadbeef;
    ASSERT_TRUE(::QueryActCtxW(0, m_hActCtx, nullptr, CompatibilityInformationInActivationContext,
                               info.data(), info.size(), &nWritten))
        << ::GetLastError();
    ASSERT_LE(nWritten, info.size());
    DWORD nCount = 0xdeadbeef;
    std::memcpy(&nCount, info.data(), sizeof nCount);
    EXPECT_EQ(4u, nCount);
    // The element layout grew over Windows versions: look for each identifier.
    const auto end = info.begin() + static_cast<std::ptrdiff_t>(nWritten);
    for (const GUID& system : kSystems) {
        const auto* p = reinterpret_cast<const unsigned char*>(&system);
        EXPECT_NE(end, std::search(info.begin(), end, p, p + sizeof system))
            << "missing supportedOS " << std::hex << system.Data1;
    }
}

std::wstring LowerModulePath(HMODULE hModule)
{
    wchar_t path[MAX_PATH] = L"0xdeadbeef";
    ::GetModuleFileNameW(hModule, path, MAX_PATH);
    ::CharLowerW(path);
    return path;
}

// Under the program's context "comctl32.dll" is the Common Controls 6 assembly
// from the side-by-side store, not the version 5 library of the system folder.
// (Wine's copy reports 5 from DllGetVersion either way: the path tells.) This
// program itself never loads comctl32 outside the context.
TEST_F(Manifest, BringsCommonControlsSix)
{
    ULONG_PTR uCookie = 0;
    ASSERT_TRUE(::ActivateActCtx(m_hActCtx, &uCookie));
    HMODULE hComCtl = ::LoadLibraryW(L"comctl32.dll");
    ASSERT_TRUE(::DeactivateActCtx(0, uCookie));
    ASSERT_NE(nullptr, hComCtl);
    const std::wstring strPath = LowerModulePath(hComCtl);
    EXPECT_NE(std::wstring::npos,
              strPath.find(L"\\winsxs\\amd64_microsoft.windows.common-controls_6595b64144ccf1df_6."))
        << strPath;
    ::FreeLibrary(hComCtl);
}

// --- version resource ------------------------------------------------------------

class VersionResource : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::wstring strPath = ScreenSaverPath();
        DWORD dwHandle = 0xdeadbeef;
        const DWORD nSize = ::GetFileVersionInfoSizeW(strPath.c_str(), &dwHandle);
        ASSERT_GT(nSize, 0u) << "no version resource, error " << ::GetLastError();
        m_data.assign(nSize, 0);
        ASSERT_TRUE(::GetFileVersionInfoW(strPath.c_str(), 0, nSize, m_data.data()));
    }
    // The string of the first translation the resource lists.
    std::wstring String(const wchar_t* pszName)
    {
        struct Translation { WORD wLanguage, wCodePage; }* pTranslation = nullptr;
        UINT nLength = 0;
        if (!::VerQueryValueW(m_data.data(), L"\\VarFileInfo\\Translation",
                              reinterpret_cast<void**>(&pTranslation), &nLength) || nLength < 4)
            return L"<no translation>";
        wchar_t query[96];
        swprintf(query, 96, L"\\StringFileInfo\\%04x%04x\\%ls", pTranslation->wLanguage,
                 pTranslation->wCodePage, pszName);
        wchar_t* pszValue = nullptr;
        if (!::VerQueryValueW(m_data.data(), query, reinterpret_cast<void**>(&pszValue), &nLength))
            return L"<missing>";
        return pszValue;
    }
    std::vector<unsigned char> m_data;
};

std::wstring Widen(const char* psz) { return std::wstring(psz, psz + std::strlen(psz)); }

TEST_F(VersionResource, NamesTheProduct)
{
    EXPECT_EQ(L"Ferrovane ScreenSaver", String(L"FileDescription"));
    EXPECT_EQ(L"Ferrovane ScreenSaver", String(L"ProductName"));
    EXPECT_EQ(L"Ferrovane.scr", String(L"OriginalFilename"));
}

TEST_F(VersionResource, CarriesTheProjectVersion)
{
    EXPECT_EQ(Widen(FERRO_VERSION_STRING), String(L"FileVersion"));
    EXPECT_EQ(Widen(FERRO_VERSION_STRING), String(L"ProductVersion"));
    VS_FIXEDFILEINFO* pFixed = nullptr;
    UINT nLength = 0;
    ASSERT_TRUE(::VerQueryValueW(m_data.data(), L"\\", reinterpret_cast<void**>(&pFixed), &nLength));
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), nLength);
    EXPECT_EQ(VS_FFI_SIGNATURE, pFixed->dwSignature);
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(FERRO_VERSION_MINOR, FERRO_VERSION_MAJOR)),
              pFixed->dwFileVersionMS);
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(0, FERRO_VERSION_PATCH)), pFixed->dwFileVersionLS);
    EXPECT_EQ(pFixed->dwFileVersionMS, pFixed->dwProductVersionMS);
    EXPECT_EQ(pFixed->dwFileVersionLS, pFixed->dwProductVersionLS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), pFixed->dwFileType);
}

}  // namespace
