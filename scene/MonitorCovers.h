// Black windows over the monitors other than the primary, which the saver's
// scene window covers, so that no monitor shows the desktop while the saver runs.
#pragma once

#include "framework/Wnd.h"
#include "scene/PointerRest.h"

#include <memory>
#include <vector>

// A black, top-most pop-up over one monitor, owned by the scene window, so the
// system destroys it with the scene window. It never takes activation, and so
// never the keyboard, from the scene window; any button, the wheel, or the
// pointer moving away from where it rests (the scene window's rest, which
// all its windows share) asks the scene window to close: the saver ends the
// one way it always does.
class CMonitorCoverWnd : public CWnd {
public:
    // The rectangle is in screen coordinates, physical pixels; the rest
    // outlives the cover.
    BOOL CreateCover(HWND hOwner, const RECT& rect, PointerRest& rest);
    void MoveCover(const RECT& rect);

protected:
    LRESULT HandleMouseActivate(WPARAM wParam, LPARAM lParam);
    LRESULT HandleMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT HandleUserInput(WPARAM wParam, LPARAM lParam);
    void CloseOwner();

    PointerRest* m_pRest = nullptr;

    FERRO_DECLARE_MESSAGE_MAP()
};

// The covers of one scene window.
class MonitorCovers {
public:
    // Gives every monitor but the primary a cover of its own; called again
    // after the layout changed, it moves, adds and removes covers to match.
    void Update(HWND hOwner, PointerRest& rest);

private:
    std::vector<std::unique_ptr<CMonitorCoverWnd>> m_wndCovers;
};
