#include "TestApp.h"

#include "shell/SceneSaverApp.h"

std::vector<std::string> g_shownMessages;

int RecordMessage(const char* pszText, const char* pszCaption, UINT nType)
{
    g_shownMessages.push_back(std::string(pszCaption) + "|" + std::to_string(nType) + "|" + pszText);
    return IDOK;
}

namespace {

struct CTestApp : CWinApp {
    CTestApp()
    {
        SetSaverIdentity(*this);
        SetMessageBoxHook(&RecordMessage);
    }
} theTestApp;

}  // namespace
