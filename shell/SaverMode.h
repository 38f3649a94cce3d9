// The choice of mode from the command line the system starts a screen saver
// with: "s" saver, "p <hwnd>" preview, "c" / nothing / anything else setup.
#pragma once

#include <windows.h>

enum class SaverMode { Setup, Preview, Saver };

// True when the argument, less one leading '-' or '/', equals the word,
// ignoring case.
bool MatchSwitch(const char* pszArgument, const char* pszWord);

// argv[0] is the program's own path; arguments beyond those used are ignored.
SaverMode ChooseSaverMode(int argc, const char* const* argv);

// The preview's parent handle: a decimal number with optional leading white
// space and sign, up to the first other character; no digits give null.
HWND ParseWindowHandle(const char* pszArgument);
