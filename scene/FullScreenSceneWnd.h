// The saver-mode window: a top-most pop-up over the primary screen that hides
// the pointer, closes at the first sign of the user or when it loses
// activation, and ends the program when it is destroyed. Any other monitors
// get black covers; the window and the covers follow changes of the monitors.
#pragma once

#include "scene/MonitorCovers.h"
#include "scene/SceneWnd.h"

class CFullScreenSceneWnd : public CSceneWnd {
public:
    CFullScreenSceneWnd();
    ~CFullScreenSceneWnd() override;

    BOOL CreateFullScreen();

    PointerRest m_Rest;  // shared by the covers, which go before it
    MonitorCovers m_Covers;

protected:
    LRESULT HandleSysCommand(WPARAM wParam, LPARAM lParam);
    LRESULT HandleDestroy(WPARAM wParam, LPARAM lParam);
    LRESULT HandleSetCursor(WPARAM wParam, LPARAM lParam);
    LRESULT HandleNcActivate(WPARAM wParam, LPARAM lParam);
    LRESULT HandleActivate(WPARAM wParam, LPARAM lParam);
    LRESULT HandleActivateApp(WPARAM wParam, LPARAM lParam);
    LRESULT HandleMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT HandleUserInput(WPARAM wParam, LPARAM lParam);
    LRESULT HandleDisplayChange(WPARAM wParam, LPARAM lParam);
    LRESULT HandleTimer(WPARAM wParam, LPARAM lParam);

    FERRO_DECLARE_MESSAGE_MAP()
};
