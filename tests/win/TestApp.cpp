#include "TestApp.h"

#include "shell/SceneSaverApp.h"

namespace {

int RecordMessage(const char* pszText, const char* pszCaption, UINT nType)
{
    CTestApp::Shown().push_back({ pszText, pszCaption, nType });
    return IDOK;
}

CTestApp theTestApp;

}  // namespace

CTestApp::CTestApp()
{
    SetSaverIdentity(*this);
    SetMessageBoxHook(&RecordMessage);
}

CTestApp::~CTestApp()
{
    SetMessageBoxHook(nullptr);
}

std::vector<ShownMessage>& CTestApp::Shown()
{
    static std::vector<ShownMessage> shown;
    return shown;
}
