// The black covers' closing rules, and a scene window while the display is off.
#include "SceneMessages.h"
#include "TestApp.h"
#include "framework/WinApp.h"
#include "scene/MonitorCovers.h"
#include "scene/Scene.h"
#include "scene/SceneWnd.h"
#include "sound/SceneMusic.h"
#include "win/audio/ToneFile.h"

#include <gtest/gtest.h>

#include <iterator>
#include <utility>

namespace {

TEST(MonitorCover, EveryButtonAndTheWheelCloseItsOwner)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, CWnd::RegisterWndClass(0, nullptr, nullptr, nullptr), "owner", WS_POPUP,
                               0, 0, 64, 48, nullptr, nullptr));
    CMonitorCoverWnd cover;
    ASSERT_TRUE(cover.CreateCover(owner.m_hWnd, RECT{ 0, 0, 64, 48 }));
    const struct { UINT message; WPARAM wParam; bool closes; } rules[] = {
        { WM_LBUTTONUP, 0, false }, { WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON1), false },
        { WM_LBUTTONDOWN, 0, true }, { WM_MBUTTONDOWN, 0, true }, { WM_RBUTTONDOWN, 0, true },
        { WM_XBUTTONDOWN, MAKEWPARAM(0, XBUTTON1), true }, { WM_XBUTTONDOWN, MAKEWPARAM(0, XBUTTON2), true },
        { WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), true }, { WM_MOUSEHWHEEL, MAKEWPARAM(0, WHEEL_DELTA), true },
    };
    for (std::size_t i = 0; i < std::size(rules); ++i)
        EXPECT_EQ(rules[i].closes, PostsClose(cover.m_hWnd, owner.m_hWnd, rules[i].message, rules[i].wParam, 0))
            << "row " << i;
}

// Runs the thread's messages for a second: the window's timer ticks, and the
// frames drawn (each moves the pose on).
std::pair<int, int> TicksAndFramesInASecond(HWND hWnd)
{
    int nTicks = 0, nFrames = 0;
    const DWORD dwStart = ::GetTickCount();
    for (DWORD dwGone; (dwGone = ::GetTickCount() - dwStart) < 1000;) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000 - dwGone, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            const double dBefore = g_Motion.m_dElapsed;
            nTicks += msg.message == WM_TIMER && msg.hwnd == hWnd;
            ::DispatchMessageA(&msg);
            nFrames += g_Motion.m_dElapsed != dBefore;
        }
    }
    return { nTicks, nFrames };
}

// Off stops the frames and their timer, not the music; on and dimmed each bring them back.
TEST(DisplayState, NoFramesWhileTheDisplayIsOff)
{
    GetApp()->WriteSettingInt("Config", "bMusic", 1);
    GetApp()->WriteSettingString("Config", "MP3 Sound", ToneNextToProgram().c_str());
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, CWnd::RegisterWndClass(0, nullptr, nullptr, nullptr), "host", WS_POPUP | WS_VISIBLE,
                              0, 0, 160, 120, nullptr, nullptr));
    CSceneWnd wnd(0);
    ASSERT_TRUE(wnd.CreateSceneWindow(0, WS_CHILD | WS_VISIBLE, RECT{ 0, 0, 160, 120 }, &host));
    const DWORD states[] = { 0, 1, 0, 2 };
    for (DWORD dwState : states) {
        ::SendMessageA(wnd.m_hWnd, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, DisplayState(dwState));
        const auto [nTicks, nFrames] = TicksAndFramesInASecond(wnd.m_hWnd);
        EXPECT_EQ(dwState != 0, nTicks > 0) << "display state " << dwState << ": " << nTicks << " ticks";
        EXPECT_EQ(dwState != 0, nFrames > 0) << "display state " << dwState << ": " << nFrames << " frames";
        EXPECT_NE(0u, g_hMusicStream) << "the music plays on, display state " << dwState;
    }
    GetApp()->WriteSettingInt("Config", "bMusic", 0);
}

}  // namespace
