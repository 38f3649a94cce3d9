#include "framework/WinApp.h"

#include "framework/ProfileSection.h"
#include "framework/Wnd.h"

#include <vector>

namespace {

CWinApp* g_pApp = nullptr;
CWinApp::MessageBoxHook g_pfnMessageBoxHook = nullptr;

}  // namespace

CWinApp* GetApp()
{
    return g_pApp;
}

CWinApp::CWinApp()
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

FERRO_BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
FERRO_END_MESSAGE_MAP()

void CWinApp::SetVendorKey(const char* pszVendor)
{
    m_strVendorKey = pszVendor;
    m_strProfileName = m_strAppName;
}

UINT CWinApp::ReadSettingInt(const char* pszSection, const char* pszEntry, int nDefault)
{
    ProfileSection section(m_strVendorKey.c_str(), m_strProfileName.c_str(), pszSection);
    if (section.Key() == nullptr)
        return static_cast<UINT>(nDefault);
    DWORD value = 0;
    DWORD size = sizeof value;
    if (::RegQueryValueExA(section.Key(), pszEntry, nullptr, nullptr,
                           reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
        return static_cast<UINT>(nDefault);
    return value;
}

std::string CWinApp::ReadSettingString(const char* pszSection, const char* pszEntry,
                                       const char* pszDefault)
{
    const std::string fallback = pszDefault ? pszDefault : "";
    ProfileSection section(m_strVendorKey.c_str(), m_strProfileName.c_str(), pszSection);
    if (section.Key() == nullptr)
        return fallback;
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(section.Key(), pszEntry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return fallback;
    // Whatever the type (a .reg import may store the path as binary or as a
    // multi-string), the text is the bytes up to the first zero.
    // One spare zero so that data stored without its terminator still ends.
    std::vector<char> buffer(static_cast<size_t>(size) + 1, '\0');
    DWORD got = size;
    if (::RegQueryValueExA(section.Key(), pszEntry, nullptr, &type,
                           reinterpret_cast<BYTE*>(buffer.data()), &got) != ERROR_SUCCESS
        || got > size)
        return fallback;
    return std::string(buffer.data());  // ends at the first zero byte
}

BOOL CWinApp::WriteSettingInt(const char* pszSection, const char* pszEntry, int nValue)
{
    ProfileSection section(m_strVendorKey.c_str(), m_strProfileName.c_str(), pszSection);
    if (section.Key() == nullptr)
        return FALSE;
    const DWORD value = static_cast<DWORD>(nValue);
    return ::RegSetValueExA(section.Key(), pszEntry, 0, REG_DWORD,
                            reinterpret_cast<const BYTE*>(&value), sizeof value) == ERROR_SUCCESS;
}

BOOL CWinApp::WriteSettingString(const char* pszSection, const char* pszEntry, const char* pszValue)
{
    ProfileSection section(m_strVendorKey.c_str(), m_strProfileName.c_str(), pszSection);
    if (section.Key() == nullptr)
        return FALSE;
    const std::string text = pszValue ? pszValue : "";
    return ::RegSetValueExA(section.Key(), pszEntry, 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

void CWinApp::SetMessageBoxHook(MessageBoxHook pfnHook)
{
    g_pfnMessageBoxHook = pfnHook;
}

int CWinApp::ShowMessageBox(const char* pszText, UINT nType)
{
    if (g_pfnMessageBoxHook != nullptr)
        return g_pfnMessageBoxHook(pszText, m_strAppName.c_str(), nType);
    HWND hOwner = m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr;
    return ::MessageBoxA(hOwner, pszText, m_strAppName.c_str(), nType);
}

LRESULT CWinApp::RouteCommand(WPARAM wParam, LPARAM lParam, CWnd* pFrom)
{
    const MessageMapEntry* entry = FindHandler(WM_COMMAND, wParam);
    if (entry == nullptr)
        return pFrom->Default();
    return (this->*entry->pfnHandler)(wParam, lParam);
}

LRESULT CWinApp::HandleHelp(WPARAM, LPARAM)
{
    return 0;
}
