// The scene windows under Wine with real OpenGL: what they read, show and
// draw, what a pixel-format failure leaves, and the full-screen window's
// closing rules.
#include "TestApp.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "scene/FullScreenSceneWnd.h"
#include "scene/PixelFormat.h"
#include "scene/SceneWnd.h"
#include "audio/AudioLibrary.h"
#include "sound/SceneMusic.h"
#include "win/audio/ToneFile.h"

#include <GL/gl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

const RECT kChildRect = { 0, 0, 160, 120 };

class SceneWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vantrel");
        GetApp()->WriteSettingInt("Config", "bMusic", 0);
        g_shownMessages.clear();
        m_parent.reset(new CWnd);
        LPCSTR cls = CWnd::RegisterWndClass(0, nullptr, nullptr, nullptr);
        ASSERT_TRUE(m_parent->CreateEx(0, cls, "host", WS_POPUP, 0, 0, 200, 150, nullptr, nullptr));
    }
    std::unique_ptr<CWnd> m_parent;
};

TEST_F(SceneWindows, ReadTheSettingsAndShowNoPointer)
{
    GetApp()->WriteSettingInt("Config", "Motion Blur", 0);
    GetApp()->WriteSettingInt("Config", "OPS", 3);
    GetApp()->WriteSettingInt("Config", "RPS", 12);
    GetApp()->WriteSettingString("Config", "MP3 Sound", "C:\\x.mp3");
    CSceneWnd wnd(0);
    EXPECT_EQ(std::make_tuple(0, 0.3f, 1.2f, std::string("C:\\x.mp3"), 0),
              std::make_tuple(wnd.m_bMotionBlur, wnd.m_fOscillations, wnd.m_fRevolutions, wnd.m_strMp3Path, wnd.m_bMusic));
    ASSERT_TRUE(wnd.CreateSceneWindow(0, WS_CHILD | WS_VISIBLE, kChildRect, m_parent.get()));
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(reinterpret_cast<HCURSOR>(::GetClassLongPtrA(wnd.m_hWnd, GCLP_HCURSOR)), &info));
    unsigned char bits[256];  // monochrome, 32 x 32: the AND mask over the XOR mask
    ASSERT_EQ(256, ::GetBitmapBits(info.hbmMask, sizeof bits, bits));
    for (int i = 0; i < 256; ++i)  // the screen shows through unchanged
        ASSERT_EQ(i < 128 ? 0xFF : 0x00, bits[i]) << "byte " << i;
    ::DeleteObject(info.hbmMask);
}

// Wine 8 shows no OpenGL drawn into a child window, so the frames the timer
// draws are read back from the child's own context.
TEST_F(SceneWindows, ChildWindowDrawsTheModelEveryTick)
{
    CSceneWnd wnd(0);
    ASSERT_TRUE(wnd.CreateSceneWindow(0, WS_CHILD | WS_VISIBLE, kChildRect, m_parent.get()));
    ::ShowWindow(m_parent->m_hWnd, SW_SHOWNA);
    std::vector<unsigned char> shots[2];
    for (std::vector<unsigned char>& shot : shots) {
        for (const DWORD until = ::GetTickCount() + 700; ::GetTickCount() < until; ::Sleep(5)) {
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                ::DispatchMessageA(&msg);
        }
        ASSERT_TRUE(::wglMakeCurrent(wnd.m_hDC, wnd.m_hRC));
        shot.assign(160 * 120 * 4, 0);
        glReadBuffer(GL_BACK);  // Mesa keeps the last frame there after the swap
        glReadPixels(0, 0, 160, 120, GL_RGBA, GL_UNSIGNED_BYTE, shot.data());
        ::wglMakeCurrent(nullptr, nullptr);
    }
    int lit = 0, litBeside = 0, changed = 0;
    for (int i = 0; i < 160 * 120; ++i) {
        const unsigned char* p = &shots[0][i * 4];
        const bool bright = p[0] + p[1] + p[2] > 60;
        lit += bright;
        litBeside += bright && (i % 160 < 30 || i % 160 >= 130);
        changed += std::memcmp(p, &shots[1][i * 4], 3) != 0;
    }
    EXPECT_GT(lit, 300) << "the model is drawn";
    EXPECT_EQ(0, litBeside) << "on black beside it";
    EXPECT_GT(changed, 100) << "and it moves from tick to tick";
}

// Gives its window another OpenGL format than the scene's before the scene
// sets one up: a window keeps the first format it is given.
class CPreformattedSceneWnd : public CSceneWnd {
public:
    explicit CPreformattedSceneWnd(int bAutoDelete = 0) : CSceneWnd(bAutoDelete) {}
    LRESULT WindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam) override
    {
        if (nMessage == WM_NCCREATE) {
            HDC hDC = ::GetDC(m_hWnd);
            PIXELFORMATDESCRIPTOR pfd = ScenePixelFormatDescriptor();
            const int sceneFormat = ::ChoosePixelFormat(hDC, &pfd);
            for (int i = 1; i <= ::DescribePixelFormat(hDC, 1, sizeof pfd, &pfd); ++i) {
                ::DescribePixelFormat(hDC, i, sizeof pfd, &pfd);
                if (i != sceneFormat && (pfd.dwFlags & PFD_SUPPORT_OPENGL)) {
                    m_bPreformatted = ::SetPixelFormat(hDC, i, &pfd);
                    break;
                }
            }
            ::ReleaseDC(m_hWnd, hDC);
        }
        return CSceneWnd::WindowProc(nMessage, wParam, lParam);
    }
    BOOL m_bPreformatted = FALSE;
};

TEST_F(SceneWindows, PixelFormatFailuresAreToldAndTheWindowLivesOn)
{
    CPreformattedSceneWnd wnd;
    EXPECT_TRUE(wnd.CreateSceneWindow(0, WS_CHILD | WS_VISIBLE, kChildRect, m_parent.get()));
    ASSERT_TRUE(wnd.m_bPreformatted);
    EXPECT_TRUE(::IsWindow(wnd.m_hWnd));
    EXPECT_EQ(0, SetupPixelFormat(nullptr));  // no device context: no format to choose
    const std::vector<std::string> shown = {  // 48: MB_OK | MB_ICONEXCLAMATION
        "Ferrovane ScreenSaver|48|No se pudo seleccionar el formato de pixel especificado.",
        "Ferrovane ScreenSaver|48|No se pudo elegir un formato de pixel correcto.",
    };
    EXPECT_EQ(shown, g_shownMessages);
}

// In preview mode the parent is another program's window, which may go while
// the format message waits: creation then fails, the object deletes itself
// once, and no music is left playing for a window that is gone.
TEST_F(SceneWindows, ParentGoneDuringTheFormatMessageFailsCreation)
{
    GetApp()->WriteSettingInt("Config", "bMusic", 1);
    GetApp()->WriteSettingString("Config", "MP3 Sound", ToneNextToProgram().c_str());
    static HWND s_hParent;
    s_hParent = m_parent->m_hWnd;
    CWinApp::SetMessageBoxHook([](const char*, const char*, UINT) { ::DestroyWindow(s_hParent); return IDOK; });
    CPreformattedSceneWnd* pWnd = new CPreformattedSceneWnd(1);
    const BOOL bCreated = pWnd->CreateSceneWindow(0, WS_CHILD | WS_VISIBLE, kChildRect, m_parent.get());
    CWinApp::SetMessageBoxHook(&RecordMessage);
    EXPECT_FALSE(bCreated);
    EXPECT_EQ(0u, g_hMusicStream);
    if (g_hMusicStream != 0) {
        BASS_StreamFree(g_hMusicStream);
        BASS_Free();
    }
}

TEST_F(SceneWindows, FullScreenWindowClosesOnTheUserOnly)
{
    CFullScreenSceneWnd* pWnd = new CFullScreenSceneWnd;
    ASSERT_TRUE(pWnd->CreateFullScreen());
    HWND hWnd = pWnd->m_hWnd;
    EXPECT_TRUE(::GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    const struct { UINT message; WPARAM wParam; LPARAM lParam; bool closes; } rules[] = {
        { WM_MOUSEMOVE, 0, MAKELPARAM(-1, -1), false },  // (-1,-1) counts as no position yet
        { WM_MOUSEMOVE, 0, MAKELPARAM(10, 10), false },  // the first position
        { WM_MOUSEMOVE, 0, MAKELPARAM(10, 10), false }, { WM_MOUSEMOVE, 0, MAKELPARAM(11, 10), true },
        { WM_MOUSEMOVE, 0, MAKELPARAM(10, 11), true },  { WM_LBUTTONUP, 0, 0, false },
        { WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0, false }, { WM_CHAR, 'a', 0, false },
        { WM_KEYUP, 'A', 0, false },        { WM_LBUTTONDOWN, 0, 0, true },
        { WM_MBUTTONDOWN, 0, 0, true },     { WM_RBUTTONDOWN, 0, 0, true },
        { WM_KEYDOWN, 'A', 0, true },       { WM_SYSKEYDOWN, VK_F4, 0, true },
        { WM_ACTIVATE, WA_ACTIVE, 0, false }, { WM_ACTIVATE, WA_INACTIVE, 0, true },
        { WM_ACTIVATEAPP, TRUE, 0, false }, { WM_ACTIVATEAPP, FALSE, 0, true },
        { WM_SYSCOMMAND, SC_SCREENSAVE, 0, false }, { WM_SYSCOMMAND, SC_CLOSE, 0, false },
    };
    int row = 0;
    for (const auto& r : rules) {
        MSG msg;
        while (::PeekMessageA(&msg, hWnd, WM_CLOSE, WM_CLOSE, PM_REMOVE)) {
        }
        ::SendMessageA(hWnd, r.message, r.wParam, r.lParam);
        EXPECT_EQ(r.closes, ::PeekMessageA(&msg, hWnd, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE)
            << "row " << row++;
    }
    // No pointer over the window; it refuses to look inactive.
    EXPECT_EQ(TRUE, ::SendMessageA(hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hWnd),
                                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(nullptr, ::GetCursor());
    EXPECT_EQ(FALSE, ::SendMessageA(hWnd, WM_NCACTIVATE, FALSE, 0));
    // WM_CLOSE destroys the window, which ends the program's loop.
    ::SendMessageA(hWnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(hWnd));
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
