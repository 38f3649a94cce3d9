// The program's entry point: the application object (a global, constructed
// before this runs) chooses its mode; a TRUE answer runs the message loop.
#include "framework/WinApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CWinApp* app = GetApp();
    if (app == nullptr)
        return 1;
    if (!app->SelectModeAndStart())
        return app->m_nExitCode;
    return app->Run();
}
