#include "framework/FileDialog.h"

#include "framework/SystemLibrary.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

#include <cstdio>

namespace {

// Explorer-style dialogs need a hook for the framework's own additions; this
// one adds nothing and leaves every message to the system.
UINT_PTR CALLBACK FileDialogHook(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

}  // namespace

std::string MakeSystemFilter(const char* pszFilter)
{
    std::string filter = pszFilter != nullptr ? pszFilter : "";
    for (char& c : filter)
        if (c == '|')
            c = '\0';
    if (filter.empty() || filter.back() != '\0')
        filter.push_back('\0');
    filter.push_back('\0');
    return filter;
}

CFileDialog::CFileDialog(const char* pszDefExt, const char* pszFileName, DWORD dwFlags,
                         const char* pszFilter, CWnd* pParentWnd)
    : m_strFilter(MakeSystemFilter(pszFilter)),
      m_strDefExt(pszDefExt != nullptr ? pszDefExt : ""),
      m_pParentWnd(pParentWnd)
{
    if (pszFileName != nullptr)
        std::snprintf(m_szFileName, sizeof m_szFileName, "%s", pszFileName);

    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hInstance = ::GetModuleHandleA(nullptr);
    m_ofn.lpstrFilter = m_strFilter.c_str();
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof m_szFileName;
    m_ofn.lpstrDefExt = m_strDefExt.empty() ? nullptr : m_strDefExt.c_str();
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING | OFN_ENABLEHOOK;
    m_ofn.lpfnHook = &FileDialogHook;
}

INT_PTR CFileDialog::RunModal()
{
    HWND hOwner = nullptr;
    if (m_pParentWnd != nullptr)
        hOwner = m_pParentWnd->m_hWnd;
    else if (GetApp() != nullptr && GetApp()->m_pMainWnd != nullptr)
        hOwner = GetApp()->m_pMainWnd->m_hWnd;
    m_ofn.hwndOwner = hOwner;
    // Loaded on the first Browse: only the setup dialog ever needs it.
    static auto* const pGetOpenFileName =
        SystemLibraryFunction<BOOL WINAPI(OPENFILENAMEA*)>("comdlg32.dll", "GetOpenFileNameA");
    return pGetOpenFileName != nullptr && pGetOpenFileName(&m_ofn) ? IDOK : IDCANCEL;
}
