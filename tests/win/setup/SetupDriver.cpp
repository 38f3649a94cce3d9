// Works the setup dialog of a running Ferrovane.scr from outside, as a user
// would, and prints what the dialog shows. One command per run:
//   wait                       until the dialog is there (exit 1 after 60 s)
//   state                      texts, positions, check states, focus, preview
//   layout                     every child: id, class, style, rect in dialog units
//   click ID                   push buttons: BN_CLICKED to the dialog; others: BM_CLICK
//                              (posted, so a modal reaction cannot block us)
//   spin ID up|down [N]        N mouse clicks on the upper or lower half of an up-down
//   key VK [N]                 N key presses posted to the focused control
//   settext ID TEXT            WM_SETTEXT into a control
//   filedialog                 the open-file dialog's file name and filter texts
//   choose PATH                types PATH into the open-file dialog and presses Open
//   msgbox                     the text of a message box over the dialog; presses OK
//   closed                     until the dialog is gone (exit 1 after 60 s)
// Exit status: 0 done, 1 not found or timed out, 2 usage.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kCaption[] = "Ferrovane ScreenSaver";
const DWORD kWaitMs = 60000;
const DWORD kPollMs = 50;

// Control identifiers of the dialog and of the system's open-file dialog.
enum {
    kOscillations = 1000, kRevolutions = 1002, kPreview = 1006, kMotionBlur = 1008,
    kSpinOscillations = 1009, kSpinRevolutions = 1010, kMp3Path = 1013, kMusic = 1015,
    kFileNameCombo = 0x47c, kFileNameEdit = 0x480, kFilterCombo = 0x470,
};

std::string ClassOf(HWND hWnd)
{
    char name[256] = "";
    ::GetClassNameA(hWnd, name, sizeof name);
    return name;
}

std::string TextOf(HWND hWnd)
{
    char text[1024] = "";
    ::SendMessageA(hWnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

bool IsDialog(HWND hWnd)
{
    return ClassOf(hWnd) == "#32770";
}

struct Search {
    HWND hOwner;    // for owned windows: the owner that must match
    bool bSetup;    // looking for the setup dialog itself
    HWND hFound;
};

BOOL CALLBACK FindTopLevel(HWND hWnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<Search*>(lParam);
    if (!::IsWindowVisible(hWnd) || !IsDialog(hWnd))
        return TRUE;
    if (search->bSetup) {
        if (TextOf(hWnd) == kCaption && ::GetDlgItem(hWnd, kOscillations) != nullptr) {
            search->hFound = hWnd;
            return FALSE;
        }
    } else if (::GetWindow(hWnd, GW_OWNER) == search->hOwner) {
        search->hFound = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindSetupDialog()
{
    Search search{ nullptr, true, nullptr };
    ::EnumWindows(&FindTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

// A dialog (message box, open-file dialog) owned by the setup dialog.
HWND FindOwnedDialog(HWND hSetup)
{
    Search search{ hSetup, false, nullptr };
    ::EnumWindows(&FindTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

template <typename Found>
HWND WaitFor(Found find)
{
    for (DWORD waited = 0; waited < kWaitMs; waited += kPollMs) {
        if (HWND hWnd = find())
            return hWnd;
        ::Sleep(kPollMs);
    }
    return nullptr;
}

HWND RequireSetupDialog()
{
    HWND hDlg = WaitFor(FindSetupDialog);
    if (hDlg == nullptr)
        std::printf("error=no setup dialog\n");
    return hDlg;
}

HWND FocusOf(HWND hDlg)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(hDlg, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

void PrintRect(const char* name, HWND hWnd)
{
    RECT rc{ -1, -1, -1, -1 };
    if (hWnd != nullptr)
        ::GetWindowRect(hWnd, &rc);
    std::printf("%s=%ld,%ld,%ld,%ld\n", name, rc.left, rc.top, rc.right, rc.bottom);
}

// The scene window: the one child that the template does not name.
HWND FindPreview(HWND hDlg)
{
    for (HWND h = ::GetWindow(hDlg, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT))
        if (::GetDlgCtrlID(h) == 0 && ClassOf(h) != "Static" && ClassOf(h) != "Button")
            return h;
    return nullptr;
}

int CommandState(HWND hDlg)
{
    for (int id : { kOscillations, kRevolutions, kMp3Path })
        std::printf("text%d=%s\n", id, TextOf(::GetDlgItem(hDlg, id)).c_str());
    for (int id : { kSpinOscillations, kSpinRevolutions }) {
        const LRESULT r = ::SendMessageA(::GetDlgItem(hDlg, id), UDM_GETPOS, 0, 0);
        // The high word only says that the buddy's text is no integer.
        std::printf("pos%d=%d\n", id, static_cast<short>(LOWORD(r)));
    }
    for (int id : { kMotionBlur, kMusic })
        std::printf("check%d=%d\n", id,
                    static_cast<int>(::SendMessageA(::GetDlgItem(hDlg, id), BM_GETCHECK, 0, 0)));
    HWND hFocus = FocusOf(hDlg);
    std::printf("focus=%d\n", hFocus != nullptr ? ::GetDlgCtrlID(hFocus) : 0);
    HWND hPreview = FindPreview(hDlg);
    std::printf("preview=%d\n", hPreview != nullptr && ::IsWindowVisible(hPreview) ? 1 : 0);
    PrintRect("previewrect", hPreview);
    PrintRect("placeholderrect", ::GetDlgItem(hDlg, kPreview));
    std::printf("placeholdervisible=%d\n", ::IsWindowVisible(::GetDlgItem(hDlg, kPreview)) ? 1 : 0);
    return 0;
}

// Every child in z-order, with its rectangle back in dialog units (scaled by
// the client area, which is the template's 237 x 322 units), its style with
// the bits that matter to the user, and its text.
int CommandLayout(HWND hDlg)
{
    RECT client;
    ::GetClientRect(hDlg, &client);
    auto dlu = [](long px, long units, long pixels) { return (px * units + pixels / 2) / pixels; };
    std::printf("dialog style=%08lx exstyle=%08lx caption=%s\n",
                static_cast<unsigned long>(::GetWindowLongA(hDlg, GWL_STYLE)),
                static_cast<unsigned long>(::GetWindowLongA(hDlg, GWL_EXSTYLE)),
                TextOf(hDlg).c_str());
    const DWORD kShownBits = WS_VISIBLE | WS_TABSTOP | WS_GROUP | 0xFFFF;
    for (HWND h = ::GetWindow(hDlg, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
        RECT rc;
        ::GetWindowRect(h, &rc);
        ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rc), 2);
        const DWORD style = static_cast<DWORD>(::GetWindowLongA(h, GWL_STYLE));
        std::printf("%d %s %08lx %ld,%ld %ldx%ld \"%s\"\n", ::GetDlgCtrlID(h), ClassOf(h).c_str(),
                    static_cast<unsigned long>(style & kShownBits),
                    dlu(rc.left, 237, client.right), dlu(rc.top, 322, client.bottom),
                    dlu(rc.right - rc.left, 237, client.right),
                    dlu(rc.bottom - rc.top, 322, client.bottom), TextOf(h).c_str());
    }
    return 0;
}

int CommandSpin(HWND hDlg, int id, bool bUp, int count)
{
    HWND hSpin = ::GetDlgItem(hDlg, id);
    if (hSpin == nullptr)
        return 1;
    RECT rc;
    ::GetClientRect(hSpin, &rc);
    const int x = rc.right / 2;
    const int y = bUp ? rc.bottom / 4 : rc.bottom * 3 / 4;
    for (int i = 0; i < count; ++i) {
        ::SendMessageA(hSpin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        ::SendMessageA(hSpin, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    return 0;
}

int CommandKey(HWND hDlg, int vk, int count)
{
    for (int i = 0; i < count; ++i) {
        HWND hFocus = FocusOf(hDlg);
        if (hFocus == nullptr)
            return 1;
        ::PostMessageA(hFocus, WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
        ::PostMessageA(hFocus, WM_KEYUP, static_cast<WPARAM>(vk), 0xC0000001);
        // Each press must land before the next one looks for the focus.
        for (DWORD waited = 0; waited < 2000; waited += kPollMs) {
            ::Sleep(kPollMs);
            if (count == 1 || FocusOf(hDlg) != hFocus || vk != VK_TAB)
                break;
        }
    }
    return 0;
}

int CommandFileDialog(HWND hDlg)
{
    HWND hOpen = WaitFor([hDlg] { return FindOwnedDialog(hDlg); });
    if (hOpen == nullptr) {
        std::printf("error=no open dialog\n");
        return 1;
    }
    std::printf("caption=%s\n", TextOf(hOpen).c_str());
    HWND hName = ::GetDlgItem(hOpen, kFileNameCombo);
    if (hName == nullptr)
        hName = ::GetDlgItem(hOpen, kFileNameEdit);
    std::printf("filename=%s\n", TextOf(hName).c_str());
    HWND hFilter = ::GetDlgItem(hOpen, kFilterCombo);
    const int count = static_cast<int>(::SendMessageA(hFilter, CB_GETCOUNT, 0, 0));
    std::printf("filters=%d\n", count);
    for (int i = 0; i < count; ++i) {
        // The system's dialog keeps wide strings; ask for them as such.
        wchar_t item[256] = L"";
        if (::SendMessageW(hFilter, CB_GETLBTEXTLEN, i, 0) < 256)
            ::SendMessageW(hFilter, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
        char narrow[512] = "";
        ::WideCharToMultiByte(CP_ACP, 0, item, -1, narrow, sizeof narrow, nullptr, nullptr);
        std::printf("filter%d=%s\n", i, narrow);
    }
    return 0;
}

int CommandChoose(HWND hDlg, const char* pszPath)
{
    HWND hOpen = WaitFor([hDlg] { return FindOwnedDialog(hDlg); });
    if (hOpen == nullptr) {
        std::printf("error=no open dialog\n");
        return 1;
    }
    HWND hName = ::GetDlgItem(hOpen, kFileNameCombo);
    if (hName == nullptr)
        hName = ::GetDlgItem(hOpen, kFileNameEdit);
    ::SendMessageA(hName, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pszPath));
    ::PostMessageA(::GetDlgItem(hOpen, IDOK), BM_CLICK, 0, 0);
    return 0;
}

int CommandMessageBox(HWND hDlg)
{
    HWND hBox = WaitFor([hDlg] { return FindOwnedDialog(hDlg); });
    if (hBox == nullptr) {
        std::printf("error=no message box\n");
        return 1;
    }
    std::printf("caption=%s\n", TextOf(hBox).c_str());
    std::printf("text=%s\n", TextOf(::GetDlgItem(hBox, 0xFFFF)).c_str());
    ::PostMessageA(::GetDlgItem(hBox, IDOK) ? ::GetDlgItem(hBox, IDOK) : ::GetDlgItem(hBox, IDCANCEL),
                   BM_CLICK, 0, 0);
    return 0;
}

int Usage()
{
    std::fprintf(stderr, "usage: SetupDriver wait|state|layout|click ID|spin ID up|down [N]|"
                         "key VK [N]|settext ID TEXT|filedialog|choose PATH|msgbox|closed\n");
    return 2;
}

int Run(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const std::string command = argv[1];
    if (command == "closed") {
        for (DWORD waited = 0; waited < kWaitMs; waited += kPollMs) {
            if (FindSetupDialog() == nullptr)
                return 0;
            ::Sleep(kPollMs);
        }
        std::printf("error=dialog still open\n");
        return 1;
    }
    HWND hDlg = RequireSetupDialog();
    if (hDlg == nullptr)
        return 1;
    if (command == "wait")
        return 0;
    if (command == "state")
        return CommandState(hDlg);
    if (command == "layout")
        return CommandLayout(hDlg);
    if (command == "click" && argc == 3) {
        const int nID = std::atoi(argv[2]);
        HWND hButton = ::GetDlgItem(hDlg, nID);
        if (hButton == nullptr)
            return 1;
        // A push button tells its dialog with BN_CLICKED; posting that directly
        // does not depend on the button winning the mouse capture, which Wine
        // without a window manager can refuse just after a modal child closed.
        // Check boxes must toggle themselves, so they get a real click.
        const LONG style = ::GetWindowLongA(hButton, GWL_STYLE) & BS_TYPEMASK;
        if (style == BS_PUSHBUTTON || style == BS_DEFPUSHBUTTON)
            return ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                                  reinterpret_cast<LPARAM>(hButton)) ? 0 : 1;
        return ::PostMessageA(hButton, BM_CLICK, 0, 0) ? 0 : 1;
    }
    if (command == "spin" && (argc == 4 || argc == 5))
        return CommandSpin(hDlg, std::atoi(argv[2]), std::strcmp(argv[3], "up") == 0,
                           argc == 5 ? std::atoi(argv[4]) : 1);
    if (command == "key" && (argc == 3 || argc == 4))
        return CommandKey(hDlg, std::atoi(argv[2]), argc == 4 ? std::atoi(argv[3]) : 1);
    if (command == "settext" && argc == 4)
        return ::SendMessageA(::GetDlgItem(hDlg, std::atoi(argv[2])), WM_SETTEXT, 0,
                              reinterpret_cast<LPARAM>(argv[3])) ? 0 : 1;
    if (command == "filedialog")
        return CommandFileDialog(hDlg);
    if (command == "choose" && argc == 3)
        return CommandChoose(hDlg, argv[2]);
    if (command == "msgbox")
        return CommandMessageBox(hDlg);
    return Usage();
}

}  // namespace

int main(int argc, char** argv)
{
    const int status = Run(argc, argv);
    std::fflush(stdout);
    return status;
}
