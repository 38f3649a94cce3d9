// The framework's modal dialog, data exchange, up-down wrapper and file
// dialog set-up, run under Wine against a test template.
#include "DialogTestIds.h"

#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/FileDialog.h"
#include "framework/SpinButtonCtrl.h"
#include "framework/WinApp.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

CWinApp& TestApp()
{
    static CWinApp app;
    app.SetAppName("Exchange test");
    return app;
}

struct MessageBoxCall {
    std::string text;
    std::string caption;
    UINT type;
};
std::vector<MessageBoxCall> g_boxes;

int RecordMessageBox(const char* pszText, const char* pszCaption, UINT nType)
{
    g_boxes.push_back({ pszText, pszCaption, nType });
    return IDOK;
}

constexpr UINT WM_RUN_SCRIPT = WM_APP + 1;

// Logs the framework's calls and, once the dialog is up, runs the test's
// script as a posted message inside the modal loop.
class CExchangeDlg : public CDialog {
public:
    explicit CExchangeDlg(UINT nIDTemplate = IDD_EXCHANGE_TEST) : CDialog(nIDTemplate, nullptr) {}

    int m_nCheck = 1;
    float m_fValue = 0.0f;
    std::string m_strText;
    CSpinButtonCtrl m_spin;
    std::vector<std::string> m_log;
    std::function<void(CExchangeDlg&)> m_script;

    HWND Item(int nID) const { return GetDlgItemHandle(nID); }
    std::string ItemText(int nID) const
    {
        char text[256] = "";
        ::GetWindowTextA(Item(nID), text, sizeof text);
        return text;
    }
    void Click(int nID) const { ::PostMessageA(Item(nID), BM_CLICK, 0, 0); }
    void PostKey(UINT vk) const
    {
        HWND hFocus = ::GetFocus();
        ::PostMessageA(hFocus, WM_KEYDOWN, vk, 1);
        ::PostMessageA(hFocus, WM_KEYUP, vk, 0xC0000001);
    }
    // Runs a further step after everything posted so far.
    void Then(std::function<void(CExchangeDlg&)> step)
    {
        m_script = std::move(step);
        PostMessage(WM_RUN_SCRIPT);
    }

protected:
    void ExchangeSetupData(CDataExchange* pDX) override
    {
        m_log.push_back(pDX->m_bSaveAndValidate ? "exchange save" : "exchange load");
        ExchangeControl(pDX, IDC_TEST_SPIN, m_spin);
        ExchangeCheck(pDX, IDC_TEST_CHECK, m_nCheck);
        ExchangeFloat(pDX, IDC_TEST_FLOAT, m_fValue);
        ExchangeText(pDX, IDC_TEST_TEXT, m_strText);
    }
    BOOL InitSetupDialog() override
    {
        m_log.push_back(m_spin.m_hWnd == nullptr ? "init" : "init twice");
        CDialog::InitSetupDialog();
        PostMessage(WM_RUN_SCRIPT);
        return TRUE;
    }
    LRESULT HandleRunScript(WPARAM, LPARAM)
    {
        auto script = std::move(m_script);
        m_script = nullptr;
        if (script)
            script(*this);
        return 0;
    }

    FERRO_DECLARE_MESSAGE_MAP()
};

FERRO_BEGIN_MESSAGE_MAP(CExchangeDlg, CDialog)
    FERRO_ON_MESSAGE(WM_RUN_SCRIPT, HandleRunScript)
FERRO_END_MESSAGE_MAP()

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApp();
        g_boxes.clear();
        CWinApp::SetMessageBoxHook(&RecordMessageBox);
    }
    void TearDown() override { CWinApp::SetMessageBoxHook(nullptr); }
};

using Log = std::vector<std::string>;

TEST_F(DialogTest, MissingTemplateAnswersMinusOneWithoutCallingTheDialog)
{
    CExchangeDlg dlg(4242);
    EXPECT_EQ(-1, dlg.RunModal());
    EXPECT_EQ(Log{}, dlg.m_log);
    EXPECT_EQ(nullptr, dlg.m_hWnd);
}

TEST_F(DialogTest, OkMovesTheControlsIntoTheMembers)
{
    CExchangeDlg dlg;
    dlg.m_fValue = 0.6f;
    dlg.m_strText = "before";
    std::string shown;
    bool boxTicked = false;
    dlg.m_script = [&](CExchangeDlg& d) {
        shown = d.ItemText(IDC_TEST_FLOAT);
        boxTicked = ::SendMessageA(d.Item(IDC_TEST_CHECK), BM_GETCHECK, 0, 0) == BST_CHECKED;
        ::SetWindowTextA(d.Item(IDC_TEST_FLOAT), " 2.5 ");
        ::SetWindowTextA(d.Item(IDC_TEST_TEXT), "after");
        d.Click(IDC_TEST_CHECK);
        d.Click(IDOK);
    };
    EXPECT_EQ(IDOK, dlg.RunModal());
    EXPECT_EQ("0.6", shown);
    EXPECT_TRUE(boxTicked);
    EXPECT_EQ((Log{ "init", "exchange load", "exchange save" }), dlg.m_log);
    EXPECT_EQ(2.5f, dlg.m_fValue);
    EXPECT_EQ("after", dlg.m_strText);
    EXPECT_EQ(0, dlg.m_nCheck);
    EXPECT_TRUE(g_boxes.empty());
    // The window and the bound control are gone and forgotten.
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    EXPECT_EQ(nullptr, dlg.m_spin.m_hWnd);
}

TEST_F(DialogTest, CancelButtonEscapeAndEnterEndTheDialog)
{
    struct Case {
        const char* name;
        std::function<void(CExchangeDlg&)> end;
        INT_PTR result;
        Log log;
    };
    const Case cases[] = {
        { "cancel button", [](CExchangeDlg& d) { d.Click(IDCANCEL); }, IDCANCEL,
          { "init", "exchange load" } },
        { "escape", [](CExchangeDlg& d) { d.PostKey(VK_ESCAPE); }, IDCANCEL,
          { "init", "exchange load" } },
        { "enter", [](CExchangeDlg& d) { d.PostKey(VK_RETURN); }, IDOK,
          { "init", "exchange load", "exchange save" } },
    };
    for (const Case& c : cases) {
        CExchangeDlg dlg;
        dlg.m_fValue = 1.0f;
        dlg.m_strText = "kept";
        dlg.m_script = [&c](CExchangeDlg& d) {
            ::SetWindowTextA(d.Item(IDC_TEST_TEXT), "typed");
            c.end(d);
        };
        EXPECT_EQ(c.result, dlg.RunModal()) << c.name;
        EXPECT_EQ(c.log, dlg.m_log) << c.name;
        EXPECT_EQ(c.result == IDOK ? "typed" : "kept", dlg.m_strText) << c.name;
    }
}

TEST_F(DialogTest, CheckValuesOutsideZeroToTwoShowUnticked)
{
    const struct { int stored; int member; LRESULT state; } cases[] = {
        { 0, 0, BST_UNCHECKED }, { 1, 1, BST_CHECKED }, { 5, 0, BST_UNCHECKED },
        { -1, 0, BST_UNCHECKED }, { 3, 0, BST_UNCHECKED },
    };
    for (const auto& c : cases) {
        CExchangeDlg dlg;
        dlg.m_nCheck = c.stored;
        LRESULT state = 0xdeadbeef;
        dlg.m_script = [&](CExchangeDlg& d) {
            state = ::SendMessageA(d.Item(IDC_TEST_CHECK), BM_GETCHECK, 0, 0);
            d.Click(IDCANCEL);
        };
        EXPECT_EQ(IDCANCEL, dlg.RunModal());
        EXPECT_EQ(c.member, dlg.m_nCheck) << c.stored;
        EXPECT_EQ(c.state, state) << c.stored;
    }
}

TEST_F(DialogTest, FloatsShowWithSixSignificantDigits)
{
    const struct { float value; const char* text; } cases[] = {
        { 1.0f, "1" }, { 0.6f, "0.6" }, { 0.7f, "0.7" }, { 0.0f, "0" },
        { 429496736.0f, "4.29497e+08" }, { 1e-7f, "1e-07" }, { 2.25f, "2.25" },
    };
    for (const auto& c : cases) {
        CExchangeDlg dlg;
        dlg.m_fValue = c.value;
        std::string shown = "sentinel";
        dlg.m_script = [&](CExchangeDlg& d) {
            shown = d.ItemText(IDC_TEST_FLOAT);
            d.Click(IDCANCEL);
        };
        dlg.RunModal();
        EXPECT_EQ(c.text, shown) << c.value;
    }
}

TEST_F(DialogTest, GarbageInAFloatBoxRefusesOkUntilCorrected)
{
    CExchangeDlg dlg;
    dlg.m_fValue = 0.7f;
    dlg.m_nCheck = 1;
    dlg.m_strText = "kept";
    bool stillOpen = false;
    int focusAfterRefusal = 0xdead;
    DWORD selStart = 0xdeadbeef, selEnd = 0xdeadbeef;
    dlg.m_script = [&](CExchangeDlg& d) {
        ::SetWindowTextA(d.Item(IDC_TEST_FLOAT), "abc");
        ::SetWindowTextA(d.Item(IDC_TEST_TEXT), "typed");
        d.Click(IDOK);
        d.Then([&](CExchangeDlg& d2) {
            stillOpen = ::IsWindow(d2.m_hWnd) != FALSE;
            focusAfterRefusal = ::GetDlgCtrlID(::GetFocus());
            ::SendMessageA(d2.Item(IDC_TEST_FLOAT), EM_GETSEL,
                           reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
            ::SetWindowTextA(d2.Item(IDC_TEST_FLOAT), "0.8");
            d2.Click(IDOK);
        });
    };
    EXPECT_EQ(IDOK, dlg.RunModal());
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ("Please enter a number.", g_boxes[0].text);
    EXPECT_EQ("Exchange test", g_boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), g_boxes[0].type);
    EXPECT_EQ(IDC_TEST_FLOAT, focusAfterRefusal);
    EXPECT_EQ(0u, selStart);
    EXPECT_EQ(3u, selEnd);
    EXPECT_EQ((Log{ "init", "exchange load", "exchange save", "exchange save" }), dlg.m_log);
    EXPECT_EQ(0.8f, dlg.m_fValue);
    EXPECT_EQ("typed", dlg.m_strText);
}

TEST(DialogFloatParse, AcceptsOneFiniteNumberOnly)
{
    const struct { const char* text; bool ok; float value; } cases[] = {
        { "0.8", true, 0.8f }, { " 1.5\t", true, 1.5f }, { "-2", true, -2.0f },
        { "0", true, 0.0f }, { "7e-1", true, 0.7f },
        { "", false, 0 }, { "   ", false, 0 }, { "abc", false, 0 }, { "1.5x", false, 0 },
        { "1 2", false, 0 }, { "inf", false, 0 }, { "nan", false, 0 },
        { "1e39", false, 0 }, { "-1e39", false, 0 }, { "1e400", false, 0 },
    };
    for (const auto& c : cases) {
        float value = -12345.0f;
        EXPECT_EQ(c.ok, ParseDialogFloat(c.text, value)) << '"' << c.text << '"';
        EXPECT_EQ(c.ok ? c.value : -12345.0f, value) << '"' << c.text << '"';
    }
}

TEST_F(DialogTest, SpinWrapperTalksToTheBoundUpDown)
{
    CExchangeDlg dlg;
    int buddyID = 0xdead;
    int clampedHigh = -2, clampedLow = -2, seven = -2, previous = -2;
    dlg.m_script = [&](CExchangeDlg& d) {
        buddyID = ::GetDlgCtrlID(d.m_spin.GetBuddy());
        d.m_spin.SetRange(0, 100);
        d.m_spin.SetPos(150);
        clampedHigh = d.m_spin.GetPos();
        d.m_spin.SetPos(-3);
        clampedLow = d.m_spin.GetPos();
        previous = d.m_spin.SetPos(7);
        seven = d.m_spin.GetPos();
        d.Click(IDCANCEL);
    };
    dlg.RunModal();
    EXPECT_EQ(IDC_TEST_FLOAT, buddyID);  // UDS_AUTOBUDDY: the control before it
    EXPECT_EQ(100, clampedHigh);
    EXPECT_EQ(0, clampedLow);
    EXPECT_EQ(0, previous);
    EXPECT_EQ(7, seven);
}

TEST(FileDialogFilter, BecomesZeroSeparatedWithTwoZerosAtTheEnd)
{
    using namespace std::string_literals;
    const struct { const char* in; std::string out; } cases[] = {
        { "MP3 File (*.mp3)|*.mp3", "MP3 File (*.mp3)\0*.mp3\0\0"s },
        { "A|B|", "A\0B\0\0"s },
        { "A|B||", "A\0B\0\0\0"s },
        { "A|B|C|D", "A\0B\0C\0D\0\0"s },
        { "", "\0\0"s },
        { nullptr, "\0\0"s },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.out, MakeSystemFilter(c.in)) << (c.in ? c.in : "(null)");
}

TEST(FileDialogSetup, ExplorerStyleWithBoundedInitialName)
{
    CFileDialog dlg(nullptr, "SoMe MP3z", 0, "MP3 File (*.mp3)|*.mp3");
    EXPECT_EQ(static_cast<DWORD>(OFN_EXPLORER | OFN_ENABLESIZING | OFN_ENABLEHOOK), dlg.m_ofn.Flags);
    EXPECT_NE(nullptr, dlg.m_ofn.lpfnHook);
    EXPECT_EQ(nullptr, dlg.m_ofn.lpstrDefExt);
    EXPECT_STREQ("SoMe MP3z", dlg.m_ofn.lpstrFile);
    EXPECT_EQ(static_cast<DWORD>(MAX_PATH), dlg.m_ofn.nMaxFile);
    EXPECT_EQ(0, std::string(dlg.m_ofn.lpstrFilter, 24).compare(std::string("MP3 File (*.mp3)\0*.mp3\0\0", 24)));

    // A name longer than the buffer is cut, never written past it.
    const std::string longName(400, 'x');
    CFileDialog longDlg(nullptr, longName.c_str(), 0, "A|B");
    EXPECT_EQ(std::string(MAX_PATH - 1, 'x'), longDlg.m_ofn.lpstrFile);
}

}  // namespace
