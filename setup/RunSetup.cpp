// Setup mode: the dialog starts from the stored settings, and they are
// written back only when the user ends it with OK.
#include "setup/SetupDlg.h"
#include "shell/SaverSettings.h"
#include "shell/SceneSaverApp.h"

void CSceneSaverApp::RunSetup()
{
    CSetupDlg dlg(nullptr);
    const SaverSettings loaded = LoadSettings();
    dlg.m_bMotionBlur = loaded.m_bMotionBlur;
    dlg.m_fOscillations = loaded.m_fOscillations;
    dlg.m_fRevolutions = loaded.m_fRevolutions;
    dlg.m_strMp3Path = loaded.m_strMp3Path;
    dlg.m_bMusic = loaded.m_bMusic;

    m_pMainWnd = &dlg;
    const INT_PTR result = dlg.RunModal();
    // The dialog's window forgets itself as the main window when it goes; one
    // that was never created must not leave a pointer to this local behind.
    if (m_pMainWnd == &dlg)
        m_pMainWnd = nullptr;
    if (result != IDOK)
        return;

    SaverSettings chosen;
    chosen.m_bMotionBlur = dlg.m_bMotionBlur;
    chosen.m_fOscillations = dlg.m_fOscillations;
    chosen.m_fRevolutions = dlg.m_fRevolutions;
    chosen.m_strMp3Path = dlg.m_strMp3Path;
    chosen.m_bMusic = dlg.m_bMusic;
    SaveSettings(chosen);
}
