// The system's open-file dialog (explorer style, resizable). Open mode only.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>

class CWnd;

class CFileDialog {
public:
    // pszFilter pairs a description and a pattern with '|' ("Text (*.txt)|*.txt");
    // a missing or empty default extension adds none. Without a parent the
    // application's main window owns the dialog.
    CFileDialog(const char* pszDefExt, const char* pszFileName, DWORD dwFlags,
                const char* pszFilter, CWnd* pParentWnd = nullptr);

    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK when the user chose a file, IDCANCEL otherwise.
    INT_PTR RunModal();
    // Full path of the chosen file.
    std::string GetPathName() const { return m_szFileName; }

    OPENFILENAMEA m_ofn{};

private:
    std::string m_strFilter;
    std::string m_strDefExt;
    char m_szFileName[MAX_PATH] = {};
    CWnd* m_pParentWnd;
};

// "A|B|C|D" in the system's form: "A\0B\0C\0D\0\0", always ending in two zeros.
std::string MakeSystemFilter(const char* pszFilter);
