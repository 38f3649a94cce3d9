// Black windows over the monitors other than the primary, which the saver's
// scene window covers, so that no monitor shows the desktop while the saver runs.
#pragma once

#include "framework/Wnd.h"

#include <memory>
#include <vector>

// A black, top-most pop-up over one monitor, owned by the scene window, so the
// system destroys it with the scene window. It never takes activation, and so
// never the keyboard, from the scene window; any button, the wheel, or the
// pointer moving away from where it rested asks the scene window to close: the
// saver ends the one way it always does.
class CMonitorCoverWnd : public CWnd {
public:
    // The rectangle is in screen coordinates, physical pixels.
    BOOL CreateCover(HWND hOwner, const RECT& rect);
    void MoveCover(const RECT& rect);

    POINT m_ptRest{};        // screen coordinates
    BOOL m_bRestKnown = FALSE;

protected:
    LRESULT HandleMouseActivate(WPARAM wParam, LPARAM lParam);
    LRESULT HandleMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT HandleUserInput(WPARAM wParam, LPARAM lParam);
    void CloseOwner();

    FERRO_DECLARE_MESSAGE_MAP()
};

// The covers of one scene window.
class MonitorCovers {
public:
    // Gives every monitor but the primary a cover of its own; called again
    // after the layout changed, it moves, adds and removes covers to match.
    void Update(HWND hOwner);

private:
    std::vector<std::unique_ptr<CMonitorCoverWnd>> m_wndCovers;
};
