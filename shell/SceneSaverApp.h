// The application object: fixes the program's identity and starts the mode
// that the command line asks for.
#pragma once

#include "framework/WinApp.h"

class CSceneSaverApp : public CWinApp {
public:
    ~CSceneSaverApp() override;

    BOOL SelectModeAndStart() override;

    // Shows the setup dialog modally and saves the settings after OK.
    void RunSetup();

    FERRO_DECLARE_MESSAGE_MAP()

private:
    BOOL StartPreview(HWND hParent);
    BOOL StartSaver();
};

// "Ferrovane ScreenSaver" under the vendor key "Vantrel": the caption of every
// message box and the registry home of the settings.
void SetSaverIdentity(CWinApp& app);
