// The application object: identity, registry profile, message boxes, and the
// mode choice that the program's entry point runs before the message loop.
#pragma once

#include "framework/WinThread.h"

#include <string>

class CWnd;

class CWinApp : public CWinThread {
public:
    CWinApp();
    ~CWinApp() override;

    // The application's name: the profile key's name and every message box's caption.
    void SetAppName(const char* pszName) { m_strAppName = pszName; }
    const std::string& AppName() const { return m_strAppName; }

    // Keeps the vendor key and copies the application's name of this moment as
    // the name of the application's key, so the name must be set first.
    void SetVendorKey(const char* pszVendor);

    // Profile operations under HKCU\software\<vendor>\<application>\<section>.
    UINT ReadSettingInt(const char* pszSection, const char* pszEntry, int nDefault);
    std::string ReadSettingString(const char* pszSection, const char* pszEntry,
                                  const char* pszDefault);
    BOOL WriteSettingInt(const char* pszSection, const char* pszEntry, int nValue);
    BOOL WriteSettingString(const char* pszSection, const char* pszEntry, const char* pszValue);

    // The program's start: TRUE runs the message loop, FALSE ends at once.
    virtual BOOL SelectModeAndStart() { return FALSE; }

    // Modal message box captioned with the application's name.
    int ShowMessageBox(const char* pszText, UINT nType);
    // Test seam: while set, message boxes go to this function instead.
    using MessageBoxHook = int (*)(const char* pszText, const char* pszCaption, UINT nType);
    static void SetMessageBoxHook(MessageBoxHook pfnHook);

    // Commands that no window handled reach the application's map.
    LRESULT RouteCommand(WPARAM wParam, LPARAM lParam, CWnd* pFrom);

protected:
    // The standard help command (ID_HELP) lands here; there is no help file, so
    // the command is consumed without effect.
    LRESULT HandleHelp(WPARAM wParam, LPARAM lParam);

    FERRO_DECLARE_MESSAGE_MAP()

private:
    std::string m_strAppName;
    std::string m_strVendorKey;
    std::string m_strProfileName;
};

// The one application object of the process, or null before it is constructed.
CWinApp* GetApp();

// Standard help command of the framework.
constexpr UINT ID_FERRO_HELP = 0xE146;
