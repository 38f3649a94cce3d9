#include "framework/DataExchange.h"

#include "framework/WinApp.h"
#include "framework/Wnd.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Significant digits of a float shown in a box (FLT_DIG).
constexpr int kFloatDigits = 6;

const char kParseRealText[] = "Please enter a number.";

std::string WindowText(HWND hWnd)
{
    const int length = ::GetWindowTextLengthA(hWnd);
    if (length <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    const int got = ::GetWindowTextA(hWnd, buffer.data(), length + 1);
    return std::string(buffer.data(), got > 0 ? static_cast<size_t>(got) : 0u);
}

// Sets the text only when it differs, so an unchanged box does not flicker.
void SetWindowTextIfChanged(HWND hWnd, const std::string& text)
{
    if (WindowText(hWnd) != text)
        ::SetWindowTextA(hWnd, text.c_str());
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

}  // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nID)
{
    HWND hWnd = m_pDlgWnd->GetDlgItemHandle(nID);
    m_hWndLastControl = hWnd;
    m_bEditLastControl = false;
    return hWnd;
}

HWND CDataExchange::PrepareEditCtrl(int nID)
{
    HWND hWnd = PrepareCtrl(nID);
    m_bEditLastControl = true;
    return hWnd;
}

void CDataExchange::Fail()
{
    m_bFailed = true;
    if (!m_bSaveAndValidate || m_hWndLastControl == nullptr)
        return;
    ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl)
        ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
}

bool ParseDialogFloat(const char* pszText, float& value)
{
    const char* p = pszText;
    while (IsBlank(*p))
        ++p;
    char* end = nullptr;
    const double d = std::strtod(p, &end);
    if (end == p)
        return false;
    while (IsBlank(*end))
        ++end;
    if (*end != '\0')
        return false;
    // Infinity, NaN and numbers beyond float range would become garbage. A
    // number too small for a float (or a double) is still a number: it
    // becomes the float it converts to, which may be 0, so strtod's ERANGE
    // on underflow is no reason to refuse it.
    if (!std::isfinite(d) || std::fabs(d) > FLT_MAX)
        return false;
    value = static_cast<float>(d);
    return true;
}

void ExchangeControl(CDataExchange* pDX, int nID, CWnd& rControl)
{
    if (pDX->Failed() || rControl.m_hWnd != nullptr)
        return;
    HWND hWnd = pDX->PrepareCtrl(nID);
    if (hWnd != nullptr)
        rControl.SubclassWindow(hWnd);
}

void ExchangeCheck(CDataExchange* pDX, int nID, int& value)
{
    if (pDX->Failed())
        return;
    HWND hWnd = pDX->PrepareCtrl(nID);
    if (hWnd == nullptr)
        return;
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageA(hWnd, BM_GETCHECK, 0, 0));
        return;
    }
    if (value < 0 || value > 2)
        value = 0;
    ::SendMessageA(hWnd, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void ExchangeFloat(CDataExchange* pDX, int nID, float& value)
{
    if (pDX->Failed())
        return;
    HWND hWnd = pDX->PrepareEditCtrl(nID);
    if (hWnd == nullptr)
        return;
    if (!pDX->m_bSaveAndValidate) {
        char text[64];
        std::snprintf(text, sizeof text, "%.*g", kFloatDigits, static_cast<double>(value));
        SetWindowTextIfChanged(hWnd, text);
        return;
    }
    float parsed = 0.0f;
    if (!ParseDialogFloat(WindowText(hWnd).c_str(), parsed)) {
        if (CWinApp* app = GetApp())
            app->ShowMessageBox(kParseRealText, MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
        return;
    }
    value = parsed;
}

void ExchangeText(CDataExchange* pDX, int nID, std::string& value)
{
    if (pDX->Failed())
        return;
    HWND hWnd = pDX->PrepareEditCtrl(nID);
    if (hWnd == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
        value = WindowText(hWnd);
    else
        SetWindowTextIfChanged(hWnd, value);
}
