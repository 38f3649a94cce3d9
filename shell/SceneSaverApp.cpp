#include "shell/SceneSaverApp.h"

#include "scene/FullScreenSceneWnd.h"
#include "scene/SceneWnd.h"
#include "shell/SaverMode.h"

#include <cstdlib>

FERRO_BEGIN_MESSAGE_MAP(CSceneSaverApp, CWinApp)
    FERRO_ON_COMMAND(0, ID_FERRO_HELP, HandleHelp)
FERRO_END_MESSAGE_MAP()

CSceneSaverApp::~CSceneSaverApp() = default;

void SetSaverIdentity(CWinApp& app)
{
    app.SetAppName("Ferrovane ScreenSaver");
    app.SetVendorKey("Vantrel");  // copies the name: it must be set first
}

BOOL CSceneSaverApp::SelectModeAndStart()
{
    SetSaverIdentity(*this);
    switch (ChooseSaverMode(__argc, __argv)) {
    case SaverMode::Preview:
        return StartPreview(ParseWindowHandle(__argc > 2 ? __argv[2] : nullptr));
    case SaverMode::Saver:
        return StartSaver();
    case SaverMode::Setup:
        break;
    }
    RunSetup();
    return FALSE;
}

BOOL CSceneSaverApp::StartPreview(HWND hParent)
{
    // Without a real parent there is nothing to draw into: end at once rather
    // than run a message loop with no window.
    if (hParent == nullptr || !::IsWindow(hParent)) {
        m_nExitCode = 1;
        return FALSE;
    }
    CSceneWnd* pWnd = new CSceneWnd(1);  // deletes itself when its window is gone
    RECT rect;
    ::GetClientRect(hParent, &rect);
    CWnd parent;
    parent.Attach(hParent);
    const BOOL created = pWnd->CreateSceneWindow(0, WS_CHILD | WS_VISIBLE, rect, &parent);
    parent.Detach();
    if (!created) {
        m_nExitCode = 1;
        return FALSE;
    }
    m_pMainWnd = pWnd;
    return TRUE;
}

BOOL CSceneSaverApp::StartSaver()
{
    CFullScreenSceneWnd* pWnd = new CFullScreenSceneWnd;
    if (!pWnd->CreateFullScreen()) {
        m_nExitCode = 1;
        return FALSE;
    }
    m_pMainWnd = pWnd;
    return TRUE;
}
