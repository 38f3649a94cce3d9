// The application object of a Windows-side test program: the saver's own
// identity, so settings land where the saver reads them, and message boxes
// that tests can read instead of a modal box that would wait for a click.
#pragma once

#include "framework/WinApp.h"

#include <string>
#include <vector>

struct ShownMessage {
    std::string text;
    std::string caption;
    UINT type;
};

class CTestApp : public CWinApp {
public:
    CTestApp();
    ~CTestApp() override;

    static std::vector<ShownMessage>& Shown();
};
