#include "scene/FullScreenSceneWnd.h"

#include <windowsx.h>

FERRO_BEGIN_MESSAGE_MAP(CFullScreenSceneWnd, CSceneWnd)
    FERRO_ON_MESSAGE(WM_SYSCOMMAND, HandleSysCommand)
    FERRO_ON_MESSAGE(WM_DESTROY, HandleDestroy)
    FERRO_ON_MESSAGE(WM_SETCURSOR, HandleSetCursor)
    FERRO_ON_MESSAGE(WM_NCACTIVATE, HandleNcActivate)
    FERRO_ON_MESSAGE(WM_ACTIVATE, HandleActivate)
    FERRO_ON_MESSAGE(WM_ACTIVATEAPP, HandleActivateApp)
    FERRO_ON_MESSAGE(WM_MOUSEMOVE, HandleMouseMove)
    FERRO_ON_MESSAGE(WM_LBUTTONDOWN, HandleUserInput)
    FERRO_ON_MESSAGE(WM_MBUTTONDOWN, HandleUserInput)
    FERRO_ON_MESSAGE(WM_RBUTTONDOWN, HandleUserInput)
    FERRO_ON_MESSAGE(WM_XBUTTONDOWN, HandleUserInput)
    FERRO_ON_MESSAGE(WM_MOUSEWHEEL, HandleUserInput)
    FERRO_ON_MESSAGE(WM_MOUSEHWHEEL, HandleUserInput)
    FERRO_ON_MESSAGE(WM_KEYDOWN, HandleUserInput)
    FERRO_ON_MESSAGE(WM_SYSKEYDOWN, HandleUserInput)
    FERRO_ON_MESSAGE(WM_DISPLAYCHANGE, HandleDisplayChange)
    FERRO_ON_MESSAGE(WM_TIMER, HandleTimer)
FERRO_END_MESSAGE_MAP()

CFullScreenSceneWnd::CFullScreenSceneWnd()
    : CSceneWnd(1)
{
}

CFullScreenSceneWnd::~CFullScreenSceneWnd() = default;

namespace {

const UINT_PTR kHoldTimer = 2;  // the frame timer is 1

// The primary monitor, which always has its top left at the origin.
RECT PrimaryScreen()
{
    return { 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN) };
}

}  // namespace

BOOL CFullScreenSceneWnd::CreateFullScreen()
{
    if (!CreateSceneWindow(WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                           PrimaryScreen(), nullptr))
        return FALSE;  // the object is gone
    m_Rest.Attach(m_hWnd, kHoldTimer);
    // One monitor is the common case, and this window covers it: no covers,
    // and its first mouse move gives the rest. With covers, the rest is where
    // the pointer is now: the system may send a cover its first move late.
    if (::GetSystemMetrics(SM_CMONITORS) > 1) {
        m_Rest.TakeNow();
        m_Covers.Update(m_hWnd, m_Rest);
    }
    return TRUE;
}

LRESULT CFullScreenSceneWnd::HandleSysCommand(WPARAM wParam, LPARAM)
{
    // Neither a further screen saver nor a close through the system menu; the
    // whole command value is compared, its low four bits included.
    if (wParam == SC_SCREENSAVE || wParam == SC_CLOSE)
        return 0;
    return Default();
}

LRESULT CFullScreenSceneWnd::HandleDestroy(WPARAM wParam, LPARAM lParam)
{
    ::PostQuitMessage(0);
    return CSceneWnd::HandleDestroy(wParam, lParam);
}

LRESULT CFullScreenSceneWnd::HandleSetCursor(WPARAM, LPARAM)
{
    ::SetCursor(nullptr);
    return TRUE;
}

LRESULT CFullScreenSceneWnd::HandleNcActivate(WPARAM wParam, LPARAM)
{
    if (!wParam)
        return FALSE;  // refuses to be shown inactive
    return Default();
}

LRESULT CFullScreenSceneWnd::HandleActivate(WPARAM wParam, LPARAM)
{
    if (LOWORD(wParam) == WA_INACTIVE)
        PostMessage(WM_CLOSE);
    return Default();
}

LRESULT CFullScreenSceneWnd::HandleActivateApp(WPARAM wParam, LPARAM)
{
    if (!wParam)
        PostMessage(WM_CLOSE);
    return Default();
}

LRESULT CFullScreenSceneWnd::HandleMouseMove(WPARAM, LPARAM lParam)
{
    POINT pt = { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
    // (-1, -1) as the first position counts as none: the next one is the rest.
    if (m_Rest.IsKnown() || pt.x != -1 || pt.y != -1) {
        ::ClientToScreen(m_hWnd, &pt);  // the window itself moves when the displays change
        m_Rest.Moved(pt);
    }
    return Default();
}

LRESULT CFullScreenSceneWnd::HandleUserInput(WPARAM, LPARAM)
{
    PostMessage(WM_CLOSE);
    return Default();  // the key or button keeps its usual further effects
}

LRESULT CFullScreenSceneWnd::HandleDisplayChange(WPARAM, LPARAM)
{
    // A monitor came, went or changed, or another one became the primary: the
    // scene follows the primary first (its picture follows the new size), so
    // that no cover is left over it, then every other monitor is covered.
    const RECT rc = PrimaryScreen();
    ::SetWindowPos(m_hWnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    m_Covers.Update(m_hWnd, m_Rest);
    m_Rest.DisplaysChanged();
    return Default();
}

LRESULT CFullScreenSceneWnd::HandleTimer(WPARAM wParam, LPARAM lParam)
{
    if (wParam != kHoldTimer)
        return CSceneWnd::HandleTimer(wParam, lParam);
    m_Rest.HoldElapsed();
    return 0;
}
