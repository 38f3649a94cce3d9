// The one application object, constructed before the program's entry point runs.
#include "shell/SceneSaverApp.h"

CSceneSaverApp theApp;
