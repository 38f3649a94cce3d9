// The window layer's rules: message maps chain to their bases, what a handler
// does not consume reaches the default handling, and auto-deleting objects go
// after their window's last message, also when creation fails.
#include "TestApp.h"
#include "framework/Wnd.h"

#include <gtest/gtest.h>

namespace {

const UINT WM_PROBE_CONSUMED = WM_APP + 1;
const UINT WM_PROBE_OVERRIDDEN = WM_APP + 2;

class CProbeWnd : public CWnd {
public:
    explicit CProbeWnd(bool bAutoDelete = false, bool bFailCreate = false)
        : m_bAutoDelete(bAutoDelete), m_bFailCreate(bFailCreate) {}
    ~CProbeWnd() override { ++s_nDestroyed; }

    BOOL Create()
    {
        LPCSTR cls = RegisterWndClass(0, nullptr, nullptr, nullptr);
        return CreateEx(0, cls, "probe", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr);
    }
    void HandleFinalDestroy() override
    {
        ++s_nFinal;
        if (m_bAutoDelete)
            delete this;
    }

    static int s_nDestroyed;
    static int s_nFinal;
    int m_nSetTextSeen = 0;

protected:
    LRESULT HandleCreate(WPARAM, LPARAM)
    {
        if (m_bFailCreate)
            return -1;
        return Default();
    }
    LRESULT HandleSetText(WPARAM, LPARAM)
    {
        ++m_nSetTextSeen;
        return Default();  // not consumed: the default handling stores the text
    }
    LRESULT HandleConsumed(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) + 1; }
    LRESULT HandleOverridden(WPARAM, LPARAM) { return 100; }

    FERRO_DECLARE_MESSAGE_MAP()

private:
    bool m_bAutoDelete;
    bool m_bFailCreate;
};

int CProbeWnd::s_nDestroyed = 0;
int CProbeWnd::s_nFinal = 0;

FERRO_BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
    FERRO_ON_MESSAGE(WM_CREATE, HandleCreate)
    FERRO_ON_MESSAGE(WM_SETTEXT, HandleSetText)
    FERRO_ON_MESSAGE(WM_PROBE_CONSUMED, HandleConsumed)
    FERRO_ON_MESSAGE(WM_PROBE_OVERRIDDEN, HandleOverridden)
FERRO_END_MESSAGE_MAP()

class CDerivedProbeWnd : public CProbeWnd {
protected:
    LRESULT HandleOverriddenAgain(WPARAM, LPARAM) { return 200; }
    FERRO_DECLARE_MESSAGE_MAP()
};

FERRO_BEGIN_MESSAGE_MAP(CDerivedProbeWnd, CProbeWnd)
    FERRO_ON_MESSAGE(WM_PROBE_OVERRIDDEN, HandleOverriddenAgain)
FERRO_END_MESSAGE_MAP()

class Framework : public ::testing::Test {
protected:
    void SetUp() override { CProbeWnd::s_nDestroyed = CProbeWnd::s_nFinal = 0; }
};

TEST_F(Framework, HandlersConsumeOrPassOnToTheDefaultHandling)
{
    CProbeWnd wnd;
    ASSERT_TRUE(wnd.Create());
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(wnd.m_hWnd));

    EXPECT_TRUE(::SetWindowTextA(wnd.m_hWnd, "changed"));
    EXPECT_EQ(1, wnd.m_nSetTextSeen);
    char text[32] = "0xdeadbeef";
    ::GetWindowTextA(wnd.m_hWnd, text, sizeof text);
    EXPECT_STREQ("changed", text);

    EXPECT_EQ(42, wnd.SendMessage(WM_PROBE_CONSUMED, 41));
    // A message in no map reaches the default handling: WM_GETTEXTLENGTH answers.
    EXPECT_EQ(7, wnd.SendMessage(WM_GETTEXTLENGTH));
    EXPECT_EQ(100, wnd.SendMessage(WM_PROBE_OVERRIDDEN));
}

TEST_F(Framework, DerivedMapsOverrideAndChainToTheBase)
{
    CDerivedProbeWnd wnd;
    ASSERT_TRUE(wnd.Create());
    EXPECT_EQ(200, wnd.SendMessage(WM_PROBE_OVERRIDDEN));
    EXPECT_EQ(8, wnd.SendMessage(WM_PROBE_CONSUMED, 7));  // from the base's map
}

TEST_F(Framework, MemberWindowIsDestroyedWithItsObject)
{
    HWND hWnd;
    {
        CProbeWnd wnd;
        ASSERT_TRUE(wnd.Create());
        hWnd = wnd.m_hWnd;
        EXPECT_TRUE(::IsWindow(hWnd));
    }
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
    // By then only the base part is left: the derived hook cannot run.
    EXPECT_EQ(0, CProbeWnd::s_nFinal);
    EXPECT_EQ(1, CProbeWnd::s_nDestroyed);
}

TEST_F(Framework, AutoDeletingObjectGoesAfterTheLastMessage)
{
    CProbeWnd* pWnd = new CProbeWnd(true);
    ASSERT_TRUE(pWnd->Create());
    HWND hWnd = pWnd->m_hWnd;
    ASSERT_TRUE(::DestroyWindow(hWnd));
    EXPECT_EQ(1, CProbeWnd::s_nFinal);
    EXPECT_EQ(1, CProbeWnd::s_nDestroyed);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
}

TEST_F(Framework, AutoDeletingObjectGoesWhenCreationFails)
{
    // Refused in WM_CREATE: the half-made window is destroyed.
    CProbeWnd* pRefused = new CProbeWnd(true, true);
    EXPECT_FALSE(pRefused->Create());
    EXPECT_EQ(1, CProbeWnd::s_nFinal);
    EXPECT_EQ(1, CProbeWnd::s_nDestroyed);

    // No window at all: an unknown class.
    CProbeWnd* pNever = new CProbeWnd(true);
    EXPECT_FALSE(pNever->CreateEx(0, "NoSuchClassAnywhere", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr));
    EXPECT_EQ(2, CProbeWnd::s_nFinal);
    EXPECT_EQ(2, CProbeWnd::s_nDestroyed);
}

TEST_F(Framework, ClassIsRegisteredOncePerKind)
{
    LPCSTR first = CWnd::RegisterWndClass(CS_HREDRAW, nullptr, nullptr, nullptr);
    LPCSTR again = CWnd::RegisterWndClass(CS_HREDRAW, nullptr, nullptr, nullptr);
    LPCSTR other = CWnd::RegisterWndClass(CS_VREDRAW, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, again);
    EXPECT_STRNE(first, other);
    WNDCLASSA wc{};
    EXPECT_TRUE(::GetClassInfoA(::GetModuleHandleA(nullptr), first, &wc));
    EXPECT_EQ(static_cast<UINT>(CS_HREDRAW), wc.style);
}

TEST_F(Framework, MessageBoxesCarryTheApplicationsName)
{
    CTestApp::Shown().clear();
    GetApp()->ShowMessageBox("hello", MB_OK | MB_ICONEXCLAMATION);
    ASSERT_EQ(1u, CTestApp::Shown().size());
    EXPECT_EQ("hello", CTestApp::Shown()[0].text);
    EXPECT_EQ("Ferrovane ScreenSaver", CTestApp::Shown()[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), CTestApp::Shown()[0].type);
}

}  // namespace
