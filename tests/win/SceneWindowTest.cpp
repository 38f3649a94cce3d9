// The scene windows under Wine with real OpenGL: class, cursor, pixel-format
// messages, setters, and the full-screen window's closing rules.
#include "TestApp.h"
#include "res/resource.h"
#include "scene/FullScreenSceneWnd.h"
#include "scene/PixelFormat.h"
#include "scene/SceneWnd.h"

#include <GL/gl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

// Settings that keep these windows silent.
void QuietSettings()
{
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vantrel");
    GetApp()->WriteSettingInt("Config", "bMusic", 0);
}

bool TakePostedClose(HWND hWnd)
{
    MSG msg;
    bool found = false;
    while (::PeekMessageA(&msg, hWnd, WM_CLOSE, WM_CLOSE, PM_REMOVE))
        found = true;
    return found;
}

void DrainQuit()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

class CountingSceneWnd : public CSceneWnd {
public:
    CountingSceneWnd() : CSceneWnd(1) {}
    ~CountingSceneWnd() override { ++s_nDeleted; }
    static int s_nDeleted;
};
int CountingSceneWnd::s_nDeleted = 0;

class SceneWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        QuietSettings();
        CTestApp::Shown().clear();
        RECT rc = { 0, 0, 200, 150 };
        m_parent.reset(new CWnd);
        LPCSTR cls = CWnd::RegisterWndClass(0, nullptr, nullptr, nullptr);
        ASSERT_TRUE(m_parent->CreateEx(0, cls, "host", WS_POPUP, 0, 0, rc.right, rc.bottom, nullptr, nullptr));
    }
    void TearDown() override
    {
        m_parent.reset();
        DrainQuit();
    }
    std::unique_ptr<CWnd> m_parent;
};

TEST_F(SceneWindows, SettingsAreReadWhenConstructed)
{
    GetApp()->WriteSettingInt("Config", "Motion Blur", 0);
    GetApp()->WriteSettingInt("Config", "OPS", 3);
    GetApp()->WriteSettingInt("Config", "RPS", 12);
    GetApp()->WriteSettingString("Config", "MP3 Sound", "C:\\x.mp3");
    CSceneWnd wnd(0);
    EXPECT_EQ(0, wnd.m_bMotionBlur);
    EXPECT_EQ(0.3f, wnd.m_fOscillations);
    EXPECT_EQ(1.2f, wnd.m_fRevolutions);
    EXPECT_EQ("C:\\x.mp3", wnd.m_strMp3Path);
    EXPECT_EQ(0, wnd.m_bMusic);
    EXPECT_EQ(0, wnd.m_bAutoDelete);
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, wnd.m_hDC);
    EXPECT_EQ(nullptr, wnd.m_hRC);
}

TEST_F(SceneWindows, SecondWindowReusesTheClassWithTheBlankCursor)
{
    const RECT rc = { 0, 0, 100, 80 };
    CSceneWnd first(0);
    ASSERT_TRUE(first.CreateSceneWindow(0, WS_CHILD | WS_VISIBLE, rc, m_parent.get()));
    LPCSTR cls = g_lpszSceneWndClass;
    ASSERT_NE(nullptr, cls);
    first.DestroyWindow();
    CSceneWnd second(0);
    ASSERT_TRUE(second.CreateSceneWindow(0, WS_CHILD | WS_VISIBLE, rc, m_parent.get()));
    EXPECT_EQ(cls, g_lpszSceneWndClass);

    char name[256] = "0xdeadbeef";
    ::GetClassNameA(second.m_hWnd, name, sizeof name);
    EXPECT_STREQ(cls, name);
    WNDCLASSA wc{};
    ASSERT_TRUE(::GetClassInfoA(::GetModuleHandleA(nullptr), cls, &wc));
    EXPECT_EQ(static_cast<UINT>(CS_HREDRAW | CS_VREDRAW), wc.style);
    EXPECT_EQ(nullptr, wc.hbrBackground);
    EXPECT_EQ(nullptr, wc.hIcon);
    EXPECT_EQ(::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_BLANK)), wc.hCursor);

    // The cursor shows nothing: AND mask all ones, XOR mask all zeros.
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(wc.hCursor, &info));
    EXPECT_EQ(0u, info.xHotspot);
    EXPECT_EQ(0u, info.yHotspot);
    BITMAP bm{};
    ASSERT_TRUE(::GetObjectA(info.hbmMask, sizeof bm, &bm));
    std::vector<unsigned char> bits(static_cast<size_t>(bm.bmWidthBytes) * bm.bmHeight, 0x5a);
    ASSERT_GT(::GetBitmapBits(info.hbmMask, static_cast<LONG>(bits.size()), bits.data()), 0);
    const size_t half = bits.size() / 2;  // monochrome: AND mask over XOR mask
    for (size_t i = 0; i < bits.size(); ++i)
        ASSERT_EQ(i < half ? 0xFF : 0x00, bits[i]) << "byte " << i;
    ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
}

TEST_F(SceneWindows, ChildCoversTheGivenRectangleAndOwnsAContext)
{
    const RECT rc = { 10, 20, 130, 100 };
    CSceneWnd wnd(0);
    ASSERT_TRUE(wnd.CreateSceneWindow(0, WS_CHILD | WS_VISIBLE, rc, m_parent.get()));
    RECT got{ -1, -1, -1, -1 };
    ::GetWindowRect(wnd.m_hWnd, &got);
    ::MapWindowPoints(nullptr, m_parent->m_hWnd, reinterpret_cast<POINT*>(&got), 2);
    EXPECT_EQ(10, got.left);
    EXPECT_EQ(20, got.top);
    EXPECT_EQ(130, got.right);
    EXPECT_EQ(100, got.bottom);
    EXPECT_NE(nullptr, wnd.m_hDC);
    EXPECT_NE(nullptr, wnd.m_hRC);
    EXPECT_EQ(nullptr, ::wglGetCurrentContext());  // released before the handler returned
    EXPECT_TRUE(CTestApp::Shown().empty());
}

// Wine 8 shows OpenGL child windows through an off-screen copy that its own
// window surface paints over, so a screenshot of a preview is black there; the
// frames the timer draws are read back from the child's own context instead.
TEST_F(SceneWindows, ChildWindowDrawsTheModelEveryTick)
{
    const RECT rc = { 0, 0, 160, 120 };
    CSceneWnd wnd(0);
    ASSERT_TRUE(wnd.CreateSceneWindow(0, WS_CHILD | WS_VISIBLE, rc, m_parent.get()));
    ::ShowWindow(m_parent->m_hWnd, SW_SHOWNA);

    std::vector<unsigned char> first, later;
    for (std::vector<unsigned char>* shot : { &first, &later }) {
        const DWORD until = ::GetTickCount() + 700;  // about 20 ticks of the frame timer
        MSG msg;
        while (::GetTickCount() < until) {
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                ::DispatchMessageA(&msg);
            ::Sleep(5);
        }
        ASSERT_TRUE(::wglMakeCurrent(wnd.m_hDC, wnd.m_hRC));
        shot->assign(160 * 120 * 4, 0);
        // Mesa keeps the last frame drawn in the back buffer after the swap.
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, 160, 120, GL_RGBA, GL_UNSIGNED_BYTE, shot->data());
        ::wglMakeCurrent(nullptr, nullptr);
    }
    int lit = 0, litOutside = 0, changed = 0;
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 160; ++x) {
            const unsigned char* p = &first[(y * 160 + x) * 4];
            const bool bright = p[0] + p[1] + p[2] > 60;
            lit += bright;
            // The model stands in the middle third across.
            litOutside += bright && (x < 30 || x >= 130);
            changed += std::memcmp(p, &later[(y * 160 + x) * 4], 3) != 0;
        }
    }
    EXPECT_GT(lit, 300) << "the model is drawn";
    EXPECT_EQ(0, litOutside) << "on black beside it";
    EXPECT_GT(changed, 100) << "and it moves from tick to tick";
}

TEST_F(SceneWindows, FailedCreationLeavesNoObjectBehind)
{
    CountingSceneWnd::s_nDeleted = 0;
    const RECT rc = { 0, 0, 10, 10 };
    CountingSceneWnd* pWnd = new CountingSceneWnd;
    // A child window without a parent cannot be made.
    EXPECT_FALSE(pWnd->CreateSceneWindow(0, WS_CHILD, rc, nullptr));
    EXPECT_EQ(1, CountingSceneWnd::s_nDeleted);
}

TEST_F(SceneWindows, NoFormatToChooseIsToldInItsOwnWords)
{
    EXPECT_EQ(0, SetupPixelFormat(nullptr));  // no device context: nothing to choose
    ASSERT_EQ(1u, CTestApp::Shown().size());
    const ShownMessage& m = CTestApp::Shown()[0];
    EXPECT_EQ("No se pudo elegir un formato de pixel correcto.", m.text);
    EXPECT_EQ("Ferrovane ScreenSaver", m.caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), m.type);
}

TEST_F(SceneWindows, FormatThatCannotBeSetIsToldInItsOwnWords)
{
    // A window keeps the first format it is given: give it another one than
    // the scene's, then ask for the scene's.
    CWnd plain;
    LPCSTR cls = CWnd::RegisterWndClass(CS_OWNDC, nullptr, nullptr, nullptr);
    ASSERT_TRUE(plain.CreateEx(0, cls, "", WS_CHILD | WS_VISIBLE, 0, 0, 40, 40, m_parent->m_hWnd, nullptr));
    HDC hDC = ::GetDC(plain.m_hWnd);
    PIXELFORMATDESCRIPTOR pfd = ScenePixelFormatDescriptor();
    const int sceneFormat = ::ChoosePixelFormat(hDC, &pfd);
    ASSERT_GT(sceneFormat, 0);
    PIXELFORMATDESCRIPTOR other{};
    const int count = ::DescribePixelFormat(hDC, 1, sizeof other, &other);
    int otherFormat = 0;
    for (int i = 1; i <= count && otherFormat == 0; ++i) {
        ::DescribePixelFormat(hDC, i, sizeof other, &other);
        if (i != sceneFormat && (other.dwFlags & PFD_SUPPORT_OPENGL))
            otherFormat = i;
    }
    ASSERT_NE(0, otherFormat);
    ASSERT_TRUE(::SetPixelFormat(hDC, otherFormat, &other));

    EXPECT_EQ(0, SetupPixelFormat(hDC));
    ::ReleaseDC(plain.m_hWnd, hDC);
    ASSERT_EQ(1u, CTestApp::Shown().size());
    const ShownMessage& m = CTestApp::Shown()[0];
    EXPECT_EQ("No se pudo seleccionar el formato de pixel especificado.", m.text);
    EXPECT_EQ("Ferrovane ScreenSaver", m.caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), m.type);
}

struct RuleCase {
    const char* what;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool closes;
};

TEST_F(SceneWindows, FullScreenWindowClosesOnTheUserOnly)
{
    CFullScreenSceneWnd* pWnd = new CFullScreenSceneWnd;
    ASSERT_EQ(-1, pWnd->m_ptFirstMouse.x);
    ASSERT_EQ(-1, pWnd->m_ptFirstMouse.y);
    ASSERT_TRUE(pWnd->CreateFullScreen());
    HWND hWnd = pWnd->m_hWnd;
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN), rc.right - rc.left);
    EXPECT_EQ(::GetSystemMetrics(SM_CYSCREEN), rc.bottom - rc.top);
    EXPECT_TRUE(::GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST);

    const RuleCase rules[] = {
        { "first move, at (-1,-1), counts as none", WM_MOUSEMOVE, 0, MAKELPARAM(-1, -1), false },
        { "next move is the first position", WM_MOUSEMOVE, 0, MAKELPARAM(10, 10), false },
        { "same position again", WM_MOUSEMOVE, 0, MAKELPARAM(10, 10), false },
        { "one pixel in x", WM_MOUSEMOVE, 0, MAKELPARAM(11, 10), true },
        { "one pixel in y", WM_MOUSEMOVE, 0, MAKELPARAM(10, 11), true },
        { "left button up", WM_LBUTTONUP, 0, 0, false },
        { "wheel", WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0, false },
        { "character", WM_CHAR, 'a', 0, false },
        { "key up", WM_KEYUP, 'A', 0, false },
        { "left button down", WM_LBUTTONDOWN, 0, 0, true },
        { "middle button down", WM_MBUTTONDOWN, 0, 0, true },
        { "right button down", WM_RBUTTONDOWN, 0, 0, true },
        { "key down", WM_KEYDOWN, 'A', 0, true },
        { "system key down", WM_SYSKEYDOWN, VK_F4, 0, true },
        { "activated", WM_ACTIVATE, WA_ACTIVE, 0, false },
        { "deactivated", WM_ACTIVATE, WA_INACTIVE, 0, true },
        { "application activated", WM_ACTIVATEAPP, TRUE, 0, false },
        { "application deactivated", WM_ACTIVATEAPP, FALSE, 0, true },
        { "screen saver command", WM_SYSCOMMAND, SC_SCREENSAVE, 0, false },
        { "close command", WM_SYSCOMMAND, SC_CLOSE, 0, false },
    };
    for (const RuleCase& r : rules) {
        TakePostedClose(hWnd);
        ::SendMessageA(hWnd, r.message, r.wParam, r.lParam);
        ASSERT_TRUE(::IsWindow(hWnd)) << r.what;
        EXPECT_EQ(r.closes, TakePostedClose(hWnd)) << r.what;
    }
    EXPECT_EQ(10, pWnd->m_ptFirstMouse.x);
    EXPECT_EQ(10, pWnd->m_ptFirstMouse.y);

    // No pointer over the window; refusing to look inactive.
    EXPECT_EQ(TRUE, ::SendMessageA(hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(nullptr, ::GetCursor());
    EXPECT_EQ(FALSE, ::SendMessageA(hWnd, WM_NCACTIVATE, FALSE, 0));

    // WM_CLOSE itself destroys the window, which posts the quit message and
    // deletes the object.
    ::SendMessageA(hWnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(hWnd));
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
}

}  // namespace
