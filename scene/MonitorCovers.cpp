#include "scene/MonitorCovers.h"

#include "res/resource.h"

#include <windowsx.h>

namespace {

BOOL CALLBACK CollectOthers(HMONITOR hMonitor, HDC, LPRECT pMonitor, LPARAM lParam)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoA(hMonitor, &info) && (info.dwFlags & MONITORINFOF_PRIMARY))
        return TRUE;  // the scene window's own
    reinterpret_cast<std::vector<RECT>*>(lParam)->push_back(*pMonitor);
    return TRUE;
}

}  // namespace

FERRO_BEGIN_MESSAGE_MAP(CMonitorCoverWnd, CWnd)
    FERRO_ON_MESSAGE(WM_MOUSEACTIVATE, HandleMouseActivate)
    FERRO_ON_MESSAGE(WM_MOUSEMOVE, HandleMouseMove)
    FERRO_ON_MESSAGE(WM_LBUTTONDOWN, HandleUserInput)
    FERRO_ON_MESSAGE(WM_MBUTTONDOWN, HandleUserInput)
    FERRO_ON_MESSAGE(WM_RBUTTONDOWN, HandleUserInput)
    FERRO_ON_MESSAGE(WM_XBUTTONDOWN, HandleUserInput)
    FERRO_ON_MESSAGE(WM_MOUSEWHEEL, HandleUserInput)
    FERRO_ON_MESSAGE(WM_MOUSEHWHEEL, HandleUserInput)
FERRO_END_MESSAGE_MAP()

BOOL CMonitorCoverWnd::CreateCover(HWND hOwner, const RECT& rect, PointerRest& rest)
{
    static LPCSTR s_lpszClass = nullptr;
    if (s_lpszClass == nullptr) {
        HCURSOR hBlank = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_BLANK));
        s_lpszClass = RegisterWndClass(0, hBlank, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)),
                                       nullptr);
    }
    m_pRest = &rest;
    // Shown without activation: the scene window must stay the active one.
    if (!CreateEx(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, s_lpszClass, "", WS_POPUP,
                  rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, hOwner, nullptr))
        return FALSE;
    ::ShowWindow(m_hWnd, SW_SHOWNA);
    return TRUE;
}

void CMonitorCoverWnd::MoveCover(const RECT& rect)
{
    ::SetWindowPos(m_hWnd, nullptr, rect.left, rect.top, rect.right - rect.left,
                   rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CMonitorCoverWnd::HandleMouseActivate(WPARAM, LPARAM)
{
    return MA_NOACTIVATE;  // the click itself still arrives, and closes
}

LRESULT CMonitorCoverWnd::HandleMouseMove(WPARAM, LPARAM lParam)
{
    POINT pt = { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
    ::ClientToScreen(m_hWnd, &pt);
    m_pRest->Moved(pt);
    return Default();
}

LRESULT CMonitorCoverWnd::HandleUserInput(WPARAM, LPARAM)
{
    CloseOwner();
    return Default();
}

void CMonitorCoverWnd::CloseOwner()
{
    ::PostMessageA(::GetWindow(m_hWnd, GW_OWNER), WM_CLOSE, 0, 0);
}

void MonitorCovers::Update(HWND hOwner, PointerRest& rest)
{
    std::vector<RECT> monitors;
    ::EnumDisplayMonitors(nullptr, nullptr, &CollectOthers, reinterpret_cast<LPARAM>(&monitors));
    while (m_wndCovers.size() > monitors.size()) {  // monitors gone
        m_wndCovers.back()->DestroyWindow();
        m_wndCovers.pop_back();
    }
    for (size_t i = 0; i < monitors.size(); ++i) {
        if (i < m_wndCovers.size()) {
            m_wndCovers[i]->MoveCover(monitors[i]);
            continue;
        }
        auto pCover = std::make_unique<CMonitorCoverWnd>();
        if (pCover->CreateCover(hOwner, monitors[i], rest))
            m_wndCovers.push_back(std::move(pCover));
    }
}
