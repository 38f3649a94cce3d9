// Where the pointer rests while the saver runs, so that only the user's own
// movement ends the saver.
//
// A change of displays (a new resolution, a monitor attached, detached or made
// the primary, a laptop docked, a monitor that drops off as it sleeps)
// re-lays the desktop: the system moves or clamps the pointer, moves windows
// under it and sends them mouse moves, before or after WM_DISPLAYCHANGE and
// before or after the new layout shows in the monitor list. So:
// - the rest is kept in screen coordinates: a window moved under a resting
//   pointer sees it where it was;
// - a move seen in another layout of the monitors than the rest's, or within
//   the settling time after a change, is the system's: the pointer rests
//   where it is now;
// - with several monitors, a move away from the rest is held for the
//   settling time: if the displays change meanwhile, it was the change's;
//   if not, and the pointer is still away, the user moved it. On one monitor
//   it counts at once.
#pragma once

#include <windows.h>

#include <vector>

class PointerRest {
public:
    // The window to close when the user moves the pointer, whose timer with
    // this identifier ends a hold (its WM_TIMER calls HoldElapsed).
    void Attach(HWND hScene, UINT_PTR uHoldTimer);

    // The pointer seen at pt, screen coordinates. The first position seen is the rest.
    void Moved(POINT pt);
    // WM_DISPLAYCHANGE: the pointer rests where the change left it.
    void DisplaysChanged();
    void HoldElapsed();

    // Rests where the pointer is now, in the layout there is now.
    void TakeNow();
    BOOL IsKnown() const { return m_bKnown; }

private:
    void Take(POINT pt);
    void NoteChange();
    void EndHold();
    void Close() const;

    HWND m_hScene = nullptr;
    UINT_PTR m_uHoldTimer = 0;
    POINT m_pt{};
    BOOL m_bKnown = FALSE;
    std::vector<RECT> m_monitors;  // the layout the rest was taken in
    BOOL m_bChanged = FALSE;       // since the saver started
    DWORD m_dwChange = 0;          // when the last change was seen
    BOOL m_bHolding = FALSE;
    POINT m_ptHeld{};
};
