// Works the setup dialog of a running Ferrovane.scr from outside, as a user
// would, and prints what it shows. Controls go by name (kControls). Commands,
// several to a run when separated by "+" (each program start costs a second):
//   wait | closed          until the dialog is there | gone
//   state                  texts, up-down positions, check states, focus, preview
//   click NAME [N MS]      a click on a button (BM_CLICK); or N clicks MS apart, as a person
//                          makes them, each handled before the next: how long they held the dialog
//   spin NAME up|down [N]  N mouse clicks on the upper or lower half of an up-down
//   key VK [N]             N key presses posted to the focused control
//   settext NAME TEXT      a control's text
//   filedialog             the open-file dialog's caption, file name and filters
//   choose PATH            types PATH into the open-file dialog and presses Open
//   escape                 presses Escape in the open-file dialog
//   msgbox                 a message box's caption and text; presses OK
// A command that closes a modal child returns once the setup dialog takes
// input again. Exit status: 0 done, 1 not found (dialog or control) or timed
// out, 2 usage.
#include <windows.h>
#include <commctrl.h>

#include "win/PumpUntil.h"
#include "win/setup/ClickUpDown.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

enum {
    kOscillations = 1000, kPreview = 1006,
    // the system's open-file dialog, explorer style: its file name box has been
    // this combo box since Windows 2000
    kFileNameCombo = 0x47c, kFilterCombo = 0x470,
};

// The names the commands and the state use, after the settings they show.
const struct { const char* pszName; int nID; } kControls[] = {
    { "ops", kOscillations }, { "rps", 1002 }, { "path", 1013 },  // texts
    { "ops-spin", 1009 }, { "rps-spin", 1010 },                   // up-down positions
    { "blur", 1008 }, { "music", 1015 },                          // check boxes
    { "browse", 1014 }, { "ok", IDOK }, { "cancel", IDCANCEL },
};

// The control's identifier for a name (-1: none), or the name for an identifier ("none").
int IdOf(const char* pszName)
{
    for (const auto& control : kControls)
        if (std::strcmp(control.pszName, pszName) == 0)
            return control.nID;
    return -1;
}
const char* NameOf(int nID)
{
    for (const auto& control : kControls)
        if (control.nID == nID)
            return control.pszName;
    return "none";
}

std::string TextOf(HWND hWnd)
{
    char text[1024] = "";
    ::SendMessageA(hWnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

// A visible dialog: the setup dialog (hOwner null) or one that it owns.
HWND FindDialog(HWND hOwner)
{
    for (HWND hWnd = nullptr; (hWnd = ::FindWindowExA(nullptr, hWnd, "#32770", nullptr)) != nullptr;)
        if (::IsWindowVisible(hWnd) &&
            (hOwner == nullptr ? ::GetDlgItem(hWnd, kOscillations) != nullptr : ::GetWindow(hWnd, GW_OWNER) == hOwner))
            return hWnd;
    return nullptr;
}

HWND WaitForDialog(HWND hOwner)
{
    HWND hFound = nullptr;
    if (!PumpUntil(60000, [&] { return (hFound = FindDialog(hOwner)) != nullptr; }))
        std::printf("error=no dialog\n");
    return hFound;
}

HWND FocusOf(HWND hDlg)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(hDlg, nullptr), &info);
    return info.hwndFocus;
}

// Presses a button of a modal child (or Escape in it, nButton 0), then waits
// until the child is gone and its owner is enabled again, so that the next
// command's input is handled by the setup dialog's own loop and not by a child
// that is still closing.
int CloseChild(HWND hDlg, HWND hChild, int nButton)
{
    if (nButton != 0)
        ::PostMessageA(::GetDlgItem(hChild, nButton), BM_CLICK, 0, 0);
    else
        ::PostMessageA(FocusOf(hChild), WM_KEYDOWN, VK_ESCAPE, 1);
    return PumpUntil(60000, [&] { return !::IsWindow(hChild) && ::IsWindowEnabled(hDlg); }) ? 0 : 1;
}

void PrintRect(const char* pszName, HWND hWnd, const char* pszAfter)
{
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    std::printf("%s=%ld,%ld,%ld,%ld%s\n", pszName, rc.left, rc.top, rc.right, rc.bottom, pszAfter);
}

int State(HWND hDlg)
{
    for (const char* pszName : { "ops", "rps", "path" })
        std::printf("%s=%s\n", pszName, TextOf(::GetDlgItem(hDlg, IdOf(pszName))).c_str());
    for (const char* pszName : { "ops-spin", "rps-spin" })
        std::printf("%s=%d\n", pszName, static_cast<short>(::SendDlgItemMessageA(hDlg, IdOf(pszName), UDM_GETPOS, 0, 0)));
    for (const char* pszName : { "blur", "music" })
        std::printf("%s=%d\n", pszName, static_cast<int>(::SendDlgItemMessageA(hDlg, IdOf(pszName), BM_GETCHECK, 0, 0)));
    std::printf("focus=%s\n", NameOf(::GetDlgCtrlID(FocusOf(hDlg))));
    // The preview is the one child that the template does not number.
    if (HWND hPreview = ::GetDlgItem(hDlg, 0); ::IsWindowVisible(hPreview))
        PrintRect("preview", hPreview, "");
    HWND hPlaceholder = ::GetDlgItem(hDlg, kPreview);
    return PrintRect("placeholder", hPlaceholder, ::IsWindowVisible(hPlaceholder) ? " 1" : " 0"), 0;
}

int Keys(HWND hDlg, WPARAM vk, int count)
{
    for (int i = 0; i < count; ++i) {
        HWND hFocus = FocusOf(hDlg);
        ::PostMessageA(hFocus, WM_KEYDOWN, vk, 1);
        ::PostMessageA(hFocus, WM_KEYUP, vk, 0xC0000001);
        // A Tab must have moved the focus before the next press looks for it.
        if (vk == VK_TAB && !PumpUntil(60000, [&] { return FocusOf(hDlg) != hFocus; }))
            return 1;
    }
    return 0;
}

int Clicks(HWND hButton, int count, DWORD nPauseMs)
{
    DWORD nHeldMs = 0;
    for (int i = 0; i < count; ++i, ::Sleep(nPauseMs)) {
        const DWORD nStart = ::GetTickCount();
        if (!::SendMessageTimeoutA(hButton, BM_CLICK, 0, 0, SMTO_NORMAL, 30000, nullptr))
            return std::printf("error=click %d not handled within 30 s\n", i + 1), 1;
        nHeldMs += ::GetTickCount() - nStart;
    }
    return std::printf("ms=%lu\n", nHeldMs), 0;
}

int PrintFileDialog(HWND hOpen)
{
    std::printf("caption=%s\nfilename=%s\n", TextOf(hOpen).c_str(), TextOf(::GetDlgItem(hOpen, kFileNameCombo)).c_str());
    HWND hFilter = ::GetDlgItem(hOpen, kFilterCombo);
    for (int i = 0; i < static_cast<int>(::SendMessageA(hFilter, CB_GETCOUNT, 0, 0)); ++i) {
        // The system's dialog keeps wide strings: ask for them as such.
        wchar_t item[256] = L"";
        if (::SendMessageW(hFilter, CB_GETLBTEXTLEN, i, 0) < 256)
            ::SendMessageW(hFilter, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
        std::printf("filter%d=%ls\n", i, item);
    }
    return 0;
}

int Run(int argc, char** argv)
{
    const std::string command = argc >= 2 ? argv[1] : "";
    if (command == "closed")
        return PumpUntil(60000, [] { return FindDialog(nullptr) == nullptr; }) ? 0 : 1;
    HWND hDlg = WaitForDialog(nullptr);
    if (hDlg == nullptr || command == "wait")
        return hDlg == nullptr;
    // No control for a name it does not know: -1 is the number of the template's labels.
    HWND hControl = argc >= 3 && IdOf(argv[2]) != -1 ? ::GetDlgItem(hDlg, IdOf(argv[2])) : nullptr;
    if ((command == "click" || command == "spin" || command == "settext") && hControl == nullptr)
        return std::printf("error=no control %s\n", argc >= 3 ? argv[2] : "(none)"), 1;
    if (command == "state")
        return State(hDlg);
    if (command == "click" && argc == 3)
        return ::PostMessageA(hControl, BM_CLICK, 0, 0) ? 0 : 1;
    if (command == "click" && argc == 5)
        return Clicks(hControl, std::atoi(argv[3]), static_cast<DWORD>(std::atoi(argv[4])));
    if (command == "spin" && argc >= 4)
        return ClickUpDown(hControl, std::strcmp(argv[3], "up") == 0, argc == 5 ? std::atoi(argv[4]) : 1), 0;
    if (command == "key" && argc >= 3)
        return Keys(hDlg, static_cast<WPARAM>(std::atoi(argv[2])), argc == 4 ? std::atoi(argv[3]) : 1);
    if (command == "settext" && argc == 4)
        return ::SetWindowTextA(hControl, argv[3]) ? 0 : 1;
    HWND hChild = WaitForDialog(hDlg);
    if (hChild == nullptr)
        return 1;
    if (command == "filedialog")
        return PrintFileDialog(hChild);
    if (command == "choose" && argc == 3)
        return ::SendDlgItemMessageA(hChild, kFileNameCombo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2])),
               CloseChild(hDlg, hChild, IDOK);
    if (command == "escape")
        return CloseChild(hDlg, hChild, 0);
    if (command == "msgbox")
        return std::printf("caption=%s\ntext=%s\n", TextOf(hChild).c_str(), TextOf(::GetDlgItem(hChild, 0xFFFF)).c_str()),
               CloseChild(hDlg, hChild, IDOK);
    std::fprintf(stderr, "usage: see the head of SetupDriver.cpp\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    int status = 0;
    for (int nFirst = 1, nEnd = 1; status == 0 && nFirst < argc; nFirst = ++nEnd) {
        while (nEnd < argc && std::strcmp(argv[nEnd], "+") != 0)
            ++nEnd;
        argv[nFirst - 1] = argv[0];  // the command's words, after the program's name
        status = Run(nEnd - nFirst + 1, argv + nFirst - 1);
    }
    return status;
}
