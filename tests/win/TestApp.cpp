// The application object of the Windows-side tests has the saver's own
// identity, so settings land where the saver reads them, and answers message
// boxes at once instead of showing a modal box that would wait (the scene
// windows' test records them).
#include "shell/SceneSaverApp.h"

namespace {

struct CTestApp : CWinApp {
    CTestApp()
    {
        SetSaverIdentity(*this);
        SetMessageBoxHook([](const char*, const char*, UINT) { return IDOK; });
    }
} theTestApp;

}  // namespace
