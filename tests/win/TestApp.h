// The application object of the Windows-side tests (TestApp.cpp) has the
// saver's own identity, so settings land where the saver reads them, and
// records message boxes instead of showing a modal box that would wait.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Each box shown, as "caption|type|text".
extern std::vector<std::string> g_shownMessages;
// The hook that records them, for a test that puts another in its place.
int RecordMessage(const char* pszText, const char* pszCaption, UINT nType);
