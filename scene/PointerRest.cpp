#include "scene/PointerRest.h"

namespace {

// Long enough for the system to re-lay the desktop and tell every program of
// it; short enough that the saver still goes soon after the user's move.
const DWORD kSettleMs = 1000;

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT pMonitor, LPARAM lParam)
{
    reinterpret_cast<std::vector<RECT>*>(lParam)->push_back(*pMonitor);
    return TRUE;
}

// Every monitor's rectangle, in the system's order. The primary is the one at
// the origin, so a change of primary shows as a change of rectangles.
std::vector<RECT> MonitorLayout()
{
    std::vector<RECT> monitors;
    ::EnumDisplayMonitors(nullptr, nullptr, &CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

bool SameLayout(const std::vector<RECT>& a, const std::vector<RECT>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!::EqualRect(&a[i], &b[i]))
            return false;
    }
    return true;
}

bool SamePoint(POINT a, POINT b)
{
    return a.x == b.x && a.y == b.y;
}

}  // namespace

void PointerRest::Attach(HWND hScene, UINT_PTR uHoldTimer)
{
    m_hScene = hScene;
    m_uHoldTimer = uHoldTimer;
}

void PointerRest::Moved(POINT pt)
{
    if (!m_bKnown)
        return Take(pt);
    if (!SameLayout(m_monitors, MonitorLayout())) {
        NoteChange();
        return TakeNow();
    }
    if (m_bChanged && ::GetTickCount() - m_dwChange < kSettleMs)
        return TakeNow();  // the change still moves it
    if (SamePoint(pt, m_pt))
        return;
    if (::GetSystemMetrics(SM_CMONITORS) < 2)
        return Close();
    if (!m_bHolding) {
        m_bHolding = TRUE;
        m_ptHeld = pt;
        ::SetTimer(m_hScene, m_uHoldTimer, kSettleMs, nullptr);
    }
}

void PointerRest::DisplaysChanged()
{
    NoteChange();
    TakeNow();
}

void PointerRest::HoldElapsed()
{
    EndHold();
    if (!SameLayout(m_monitors, MonitorLayout())) {
        NoteChange();
        return TakeNow();
    }
    // Where the pointer is now: a change's late moves carry old positions.
    POINT pt = m_ptHeld;
    ::GetCursorPos(&pt);
    if (!SamePoint(pt, m_pt))
        Close();
}

void PointerRest::TakeNow()
{
    POINT pt;
    if (::GetCursorPos(&pt))
        Take(pt);
    else
        m_bKnown = FALSE;  // the next position seen is the rest
}

void PointerRest::Take(POINT pt)
{
    m_pt = pt;
    m_bKnown = TRUE;
    m_monitors = MonitorLayout();
}

void PointerRest::NoteChange()
{
    m_bChanged = TRUE;
    m_dwChange = ::GetTickCount();
    EndHold();  // a move held until now was the change's
}

void PointerRest::EndHold()
{
    if (m_bHolding)
        ::KillTimer(m_hScene, m_uHoldTimer);
    m_bHolding = FALSE;
}

void PointerRest::Close() const
{
    ::PostMessageA(m_hScene, WM_CLOSE, 0, 0);
}
