#include "framework/Wnd.h"

#include "framework/WinApp.h"

#include <cstdio>
#include <deque>
#include <map>
#include <string>

namespace {

// Every window of this process is created and used on the one UI thread, so
// the handle map needs no lock.
std::map<HWND, CWnd*>& HandleMap()
{
    static std::map<HWND, CWnd*> map;
    return map;
}

// The object whose window CreateEx is creating: its first message attaches it.
thread_local CWnd* t_pWndInit = nullptr;

// The message this thread is handling, for Default(). It lives off the object
// because handling a message may delete the object: WM_CLOSE destroys the
// window, and the final-destroy hook deletes an auto-deleting object before
// the outer dispatch returns.
thread_local MSG t_msgCurrent{};

}  // namespace

FERRO_BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
FERRO_END_MESSAGE_MAP()

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this)
        ::DestroyWindow(m_hWnd);
    Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    auto it = HandleMap().find(hWnd);
    return it == HandleMap().end() ? nullptr : it->second;
}

void CWnd::AttachPermanent(HWND hWnd, WNDPROC pfnSuper)
{
    m_hWnd = hWnd;
    m_pfnSuper = pfnSuper;
    HandleMap()[hWnd] = this;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr) {
        auto it = HandleMap().find(hWnd);
        if (it != HandleMap().end() && it->second == this)
            HandleMap().erase(it);
    }
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName,
                    DWORD dwStyle, int x, int y, int nWidth, int nHeight,
                    HWND hWndParent, HMENU hMenu, LPVOID lpParam)
{
    t_pWndInit = this;
    HWND hWnd = ::CreateWindowExA(dwExStyle, lpszClassName, lpszWindowName, dwStyle,
                                  x, y, nWidth, nHeight, hWndParent, hMenu,
                                  ::GetModuleHandleA(nullptr), lpParam);
    if (hWnd != nullptr)
        return TRUE;
    if (t_pWndInit == this) {
        // No message ever reached the object: the window never existed.
        t_pWndInit = nullptr;
        HandleFinalDestroy();
    }
    return FALSE;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd != nullptr && ::DestroyWindow(m_hWnd);
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (hWnd == nullptr || FromHandlePermanent(hWnd) != nullptr)
        return FALSE;
    auto pfnOld = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
        hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWindowProc)));
    AttachPermanent(hWnd, pfnOld);
    return TRUE;
}

LPCSTR CWnd::RegisterWndClass(UINT nClassStyle, HCURSOR hCursor,
                              HBRUSH hbrBackground, HICON hIcon)
{
    static std::deque<std::string> names;  // stable addresses for the callers
    HINSTANCE hInstance = ::GetModuleHandleA(nullptr);
    char name[128];
    std::snprintf(name, sizeof name, "Ferrovane:%p:%x:%p:%p:%p",
                  static_cast<void*>(hInstance), nClassStyle,
                  static_cast<void*>(hCursor), static_cast<void*>(hbrBackground),
                  static_cast<void*>(hIcon));
    for (const std::string& known : names)
        if (known == name)
            return known.c_str();

    WNDCLASSA wc{};
    wc.style = nClassStyle;
    wc.lpfnWndProc = &CWnd::StaticWindowProc;
    wc.hInstance = hInstance;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = name;
    if (!::RegisterClassA(&wc))
        return nullptr;
    names.emplace_back(name);
    return names.back().c_str();
}

BOOL CWnd::PostMessage(UINT nMessage, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageA(m_hWnd, nMessage, wParam, lParam);
}

LRESULT CWnd::SendMessage(UINT nMessage, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(m_hWnd, nMessage, wParam, lParam);
}

void CWnd::GetClientRect(RECT* pRect) const
{
    ::GetClientRect(m_hWnd, pRect);
}

void CWnd::GetWindowRect(RECT* pRect) const
{
    ::GetWindowRect(m_hWnd, pRect);
}

HWND CWnd::GetDlgItemHandle(int nID) const
{
    return ::GetDlgItem(m_hWnd, nID);
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    return FromHandlePermanent(GetDlgItemHandle(nID));
}

void CWnd::CenterWindow(HWND hAlternateOwner)
{
    HWND hOwner = hAlternateOwner ? hAlternateOwner : ::GetWindow(m_hWnd, GW_OWNER);
    RECT area;
    if (hOwner != nullptr && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner)) {
        ::GetWindowRect(hOwner, &area);
    } else {
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        ::GetMonitorInfoA(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &mi);
        area = mi.rcWork;
    }
    RECT rc;
    GetWindowRect(&rc);
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    const int x = area.left + ((area.right - area.left) - width) / 2;
    const int y = area.top + ((area.bottom - area.top) - height) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CWnd::Default()
{
    const MSG& m = t_msgCurrent;
    if (m_pfnSuper != nullptr)
        return ::CallWindowProcA(m_pfnSuper, m.hwnd, m.message, m.wParam, m.lParam);
    return ::DefWindowProcA(m.hwnd, m.message, m.wParam, m.lParam);
}

LRESULT CWnd::WindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    const MSG saved = t_msgCurrent;
    t_msgCurrent = MSG{ m_hWnd, nMessage, wParam, lParam, 0, {} };

    LRESULT result;
    const MessageMapEntry* entry = FindHandler(nMessage, wParam);
    if (entry == nullptr && nMessage == WM_COMMAND && GetApp() != nullptr)
        result = GetApp()->RouteCommand(wParam, lParam, this);
    else if (entry != nullptr)
        result = (this->*entry->pfnHandler)(wParam, lParam);
    else
        result = Default();
    // From here on `this` may be gone.
    t_msgCurrent = saved;
    return result;
}

void CWnd::HandleLastMessage()
{
    Detach();
    CWinApp* app = GetApp();
    if (app != nullptr && app->m_pMainWnd == this) {
        // The main window is gone: the program's message loop ends.
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    m_bFinalDestroyPending = true;
}

LRESULT CALLBACK CWnd::StaticWindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd == nullptr && t_pWndInit != nullptr) {
        pWnd = t_pWndInit;
        t_pWndInit = nullptr;
        pWnd->AttachPermanent(hWnd, nullptr);
    }
    if (pWnd == nullptr)
        return ::DefWindowProcA(hWnd, nMessage, wParam, lParam);

    ++pWnd->m_nDispatchDepth;
    LRESULT result = pWnd->WindowProc(nMessage, wParam, lParam);
    if (nMessage == WM_NCDESTROY)
        pWnd->HandleLastMessage();
    if (--pWnd->m_nDispatchDepth == 0 && pWnd->m_bFinalDestroyPending) {
        pWnd->m_bFinalDestroyPending = false;
        pWnd->HandleFinalDestroy();  // may delete the object
    }
    return result;
}
