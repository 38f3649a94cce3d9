// The scene windows under Wine with real OpenGL: what they show and draw, what
// a pixel-format failure leaves, and the full-screen window's closing rules.
#include "SceneMessages.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "scene/FullScreenSceneWnd.h"
#include "scene/PixelFormat.h"
#include "scene/SceneWnd.h"
#include "setup/SetupDlg.h"
#include "sound/SceneMusic.h"
#include "audio/AudioLibrary.h"
#include "SwapReadBack.h"
#include "support/Picture.h"
#include "win/setup/ClickUpDown.h"
#include "win/TestPack.h"

#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

extern "C" {
// The timer each window asked for last: its identifier and interval.
std::map<HWND, std::pair<UINT_PTR, UINT>> g_timers;
extern decltype(&SetTimer) __real___imp_SetTimer;
decltype(&SetTimer) __wrap___imp_SetTimer = [](HWND hWnd, UINT_PTR nId, UINT nMs, TIMERPROC pProc) {
    return g_timers[hWnd] = { nId, nMs }, __real___imp_SetTimer(hWnd, nId, nMs, pProc);
};
}

const RECT kChildRect = { 0, 0, 160, 120 };

// Each message box shown, as "caption|type|text".
std::vector<std::string> g_shownMessages;

class SceneWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vantrel");
        GetApp()->WriteSettingInt("Config", "bMusic", 0);
        g_lastFrames.clear();
        g_shownMessages.clear();
        // Each test's own hook, recording the boxes (a test may put another in its place).
        CWinApp::SetMessageBoxHook([](const char* pszText, const char* pszCaption, UINT nType) {
            g_shownMessages.push_back(std::string(pszCaption) + "|" + std::to_string(nType) + "|" + pszText);
            return IDOK;
        });
        ASSERT_TRUE(m_parent.CreateEx(0, CWnd::RegisterWndClass(0, nullptr, nullptr, nullptr), "host", WS_POPUP,
                                      0, 0, 200, 150, nullptr, nullptr));
    }
    CWnd m_parent;
};

// The setup dialog's preview, a scene child window, read back every 60 ms
// while the dialog runs: the model still on black with both rates 0, then
// each control changes what it draws at once.
TEST_F(SceneWindows, SetupPreviewFollowsEachControl)
{
    for (const char* pszName : { "Motion Blur", "OPS", "RPS" })
        GetApp()->WriteSettingInt("Config", pszName, 0);
    static CSetupDlg* s_pDlg;
    static std::vector<Picture> s_frames;  // 8 each: still, turning, bobbing, blurred
    static int s_nTicks;
    CSetupDlg dlg(nullptr);
    s_pDlg = &dlg;
    s_nTicks = 0;
    s_frames.clear();
    const UINT_PTR uTimer = ::SetTimer(nullptr, 0, 60, [](HWND, UINT, UINT_PTR, DWORD) {
        if (s_frames.size() == 32 || ++s_nTicks > 200)
            return s_pDlg->EndDialog(IDCANCEL);
        Picture frame = g_lastFrames[s_pDlg->m_wndPreview.m_hDC];
        if (s_frames.empty() && frame.LitBox().top < 0)
            return;  // nothing drawn yet
        s_frames.push_back(std::move(frame));
        const HWND hDlg = s_pDlg->m_hWnd;
        if (s_frames.size() == 8)
            ClickUpDown(::GetDlgItem(hDlg, IDC_SPIN_REVOLUTIONS), true, 5);
        if (s_frames.size() == 16)
            ClickUpDown(::GetDlgItem(hDlg, IDC_SPIN_REVOLUTIONS), false, 5), ClickUpDown(::GetDlgItem(hDlg, IDC_SPIN_OSCILLATIONS), true, 10);
        if (s_frames.size() == 24)
            ::SendDlgItemMessageA(hDlg, IDC_MOTION_BLUR, BM_CLICK, 0, 0);
    });
    dlg.RunModal();
    ::KillTimer(nullptr, uTimer);
    ASSERT_EQ(32u, s_frames.size()) << "the preview drew no model";
    const Picture *still = &s_frames[0], *turning = &s_frames[8], *bobbing = &s_frames[16], *blurred = &s_frames[24];
    const Box rest = still[0].LitBox();
    EXPECT_TRUE(rest.left > still[0].nWidth / 4 && rest.right < still[0].nWidth * 3 / 4) << "black beside the model";
    // The model's own top and bottom rows are lit over a quarter; a trail copy beyond it, at 20 %, is not.
    const auto dimmerEnd = [](const Picture& f) { return std::min(f.BrightestInRow(f.LitBox().top), f.BrightestInRow(f.LitBox().bottom)); };
    std::set<int> feet;
    int nTrails = 0;
    for (int i = 1; i < 8; ++i) {  // frame 0 of each phase may come before the change
        EXPECT_EQ(0, still[i].Differing(still[0])) << "still, frame " << i;
        EXPECT_GT(dimmerEnd(bobbing[i]), 64) << "no trail without Motion Blur, frame " << i;
        feet.insert(bobbing[i].LitBox().bottom);
        nTrails += dimmerEnd(blurred[i]) <= 64;
    }
    EXPECT_GT(turning[7].Differing(turning[1]), 100) << "it turns";
    EXPECT_GT(feet.size(), 1u) << "it bobs";
    EXPECT_GT(nTrails, 0) << "Motion Blur: the trail's translucent copies beyond the model";
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
            // DescribePixelFormat answers the highest format's number, or 0 past it.
            for (int i = 1; !m_bPreformatted && ::DescribePixelFormat(hDC, i, sizeof pfd, &pfd) >= i; ++i)
                if (i != sceneFormat && (pfd.dwFlags & PFD_SUPPORT_OPENGL))
                    m_bPreformatted = ::SetPixelFormat(hDC, i, &pfd);
            ::ReleaseDC(m_hWnd, hDC);
        }
        return CSceneWnd::WindowProc(nMessage, wParam, lParam);
    }
    BOOL m_bPreformatted = FALSE;
};

TEST_F(SceneWindows, PixelFormatFailuresAreToldAndTheWindowLivesOn)
{
    CPreformattedSceneWnd wnd;
    EXPECT_TRUE(wnd.CreateSceneWindow(0, WS_CHILD | WS_VISIBLE, kChildRect, &m_parent));
    ASSERT_TRUE(wnd.m_bPreformatted);
    EXPECT_TRUE(::IsWindow(wnd.m_hWnd));
    EXPECT_EQ((std::pair<UINT_PTR, UINT>{ 1, 31 }), g_timers[wnd.m_hWnd]) << "its frame timer, every 31 ms";
    EXPECT_EQ(0, SetupPixelFormat(nullptr));  // no device context: no format to choose
    const std::vector<std::string> shown = {  // 48: MB_OK | MB_ICONEXCLAMATION
        "Ferrovane ScreenSaver|48|No se pudo seleccionar el formato de pixel especificado.",
        "Ferrovane ScreenSaver|48|No se pudo elegir un formato de pixel correcto.",
    };
    EXPECT_EQ(shown, g_shownMessages);
}

// In preview mode the parent is another program's window, which may go while
// the format message waits: creation then fails, the object deletes itself
// once, and no music is left playing for a window that is gone. A stream
// handle comes whether or not the PC can play it, so this holds on any PC.
TEST_F(SceneWindows, ParentGoneDuringTheFormatMessageFailsCreation)
{
    GetApp()->WriteSettingInt("Config", "bMusic", 1);
    GetApp()->WriteSettingString("Config", "MP3 Sound", ToneNextToProgram().c_str());
    static HWND s_hParent;
    s_hParent = m_parent.m_hWnd;
    CWinApp::SetMessageBoxHook([](const char*, const char*, UINT) { ::DestroyWindow(s_hParent); return IDOK; });
    CPreformattedSceneWnd* pWnd = new CPreformattedSceneWnd(1);
    EXPECT_FALSE(pWnd->CreateSceneWindow(0, WS_CHILD | WS_VISIBLE, kChildRect, &m_parent));
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
    const struct { UINT message; WPARAM wParam; LPARAM lParam; bool closes; } rules[] = {
        { WM_MOUSEMOVE, 0, MAKELPARAM(-1, -1), false },  // (-1,-1) counts as no position yet
        { WM_MOUSEMOVE, 0, MAKELPARAM(10, 10), false },  // the first position
        { WM_MOUSEMOVE, 0, MAKELPARAM(10, 10), false }, { WM_MOUSEMOVE, 0, MAKELPARAM(11, 10), true },
        { WM_MOUSEMOVE, 0, MAKELPARAM(10, 11), true },  { WM_LBUTTONUP, 0, 0, false },
        { WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON1), 0, false }, { WM_CHAR, 'a', 0, false },
        { WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, DisplayState(0), false },  // the rest with the display off
        { WM_KEYUP, 'A', 0, false },        { WM_LBUTTONDOWN, 0, 0, true },
        { WM_XBUTTONDOWN, MAKEWPARAM(0, XBUTTON2), 0, true }, { WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0, true },
        { WM_MOUSEHWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0, true },
        { WM_MBUTTONDOWN, 0, 0, true },     { WM_RBUTTONDOWN, 0, 0, true },
        { WM_KEYDOWN, 'A', 0, true },       { WM_SYSKEYDOWN, VK_F4, 0, true },
        { WM_ACTIVATE, WA_ACTIVE, 0, false }, { WM_ACTIVATE, WA_INACTIVE, 0, true },
        { WM_ACTIVATEAPP, TRUE, 0, false }, { WM_ACTIVATEAPP, FALSE, 0, true },
        { WM_SYSCOMMAND, SC_SCREENSAVE, 0, false }, { WM_SYSCOMMAND, SC_CLOSE, 0, false },
    };
    for (std::size_t i = 0; i < std::size(rules); ++i)
        EXPECT_EQ(rules[i].closes, PostsClose(hWnd, hWnd, rules[i].message, rules[i].wParam, rules[i].lParam))
            << "row " << i;
    CMonitorCoverWnd cover;  // another monitor's: every button and the wheel close the scene too
    ASSERT_TRUE(cover.CreateCover(hWnd, RECT{ 0, 0, 64, 48 }, pWnd->m_Rest));
    for (UINT message : { WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN, WM_XBUTTONDOWN, WM_MOUSEWHEEL, WM_MOUSEHWHEEL })
        EXPECT_TRUE(PostsClose(cover.m_hWnd, hWnd, message, 0, 0)) << "message " << message;
    // No pointer over the window, nor over a preview of the same class; it
    // refuses to look inactive.
    EXPECT_EQ(TRUE, ::SendMessageA(hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hWnd),
                                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(nullptr, ::GetCursor());
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(reinterpret_cast<HCURSOR>(::GetClassLongPtrA(hWnd, GCLP_HCURSOR)), &info));
    unsigned char bits[256];  // monochrome, 32 x 32: the AND mask over the XOR mask
    ASSERT_EQ(256, ::GetBitmapBits(info.hbmMask, sizeof bits, bits));
    for (int i = 0; i < 256; ++i)  // the screen shows through unchanged
        ASSERT_EQ(i < 128 ? 0xFF : 0x00, bits[i]) << "byte " << i;
    ::DeleteObject(info.hbmMask);
    EXPECT_EQ(FALSE, ::SendMessageA(hWnd, WM_NCACTIVATE, FALSE, 0));
    // WM_CLOSE destroys the window, which ends the program's loop.
    ::SendMessageA(hWnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(hWnd));
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
