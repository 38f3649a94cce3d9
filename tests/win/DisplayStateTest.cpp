// A scene window while the display is off.
#include "SceneMessages.h"
#include "TestApp.h"
#include "framework/WinApp.h"
#include "scene/Scene.h"
#include "scene/SceneWnd.h"
#include "sound/SceneMusic.h"
#include "win/TestPack.h"
#include "win/audio/ToneFile.h"

#include <gtest/gtest.h>

namespace {

// Off stops the timer's ticks and the frames (each moves the pose on), not the
// music; on and dimmed each bring both back within the second each state lasts.
// The window object goes with its window still there, and takes the music.
TEST(DisplayState, NoFramesWhileTheDisplayIsOff)
{
    GetApp()->WriteSettingInt("Config", "bMusic", 1);
    GetApp()->WriteSettingString("Config", "MP3 Sound", ToneNextToProgram().c_str());
    {
        CWnd host;
        ASSERT_TRUE(host.CreateEx(0, CWnd::RegisterWndClass(0, nullptr, nullptr, nullptr), "host",
                                  WS_POPUP | WS_VISIBLE, 0, 0, 160, 120, nullptr, nullptr));
        CSceneWnd wnd(0);
        ASSERT_TRUE(wnd.CreateSceneWindow(0, WS_CHILD | WS_VISIBLE, RECT{ 0, 0, 160, 120 }, &host));
        for (DWORD dwState : { 0, 1, 0, 2 }) {
            ::SendMessageA(wnd.m_hWnd, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, DisplayState(dwState));
            int nTicks = 0, nFrames = 0;
            for (const DWORD dwStart = ::GetTickCount(); ::GetTickCount() - dwStart < 1000;) {
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
                for (MSG msg; ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) {
                    const double dBefore = g_Motion.m_dElapsed;
                    nTicks += msg.message == WM_TIMER;
                    ::DispatchMessageA(&msg);
                    nFrames += g_Motion.m_dElapsed != dBefore;
                }
            }
            EXPECT_EQ(dwState != 0 ? 2 : 0, (nTicks > 0) + (nFrames > 0))
                << "display state " << dwState << ": " << nTicks << " ticks, " << nFrames << " frames";
            if (!MissingForMusic()) {  // without them a stream is there but silent either way
                EXPECT_NE(0u, g_hMusicStream) << "the music plays on, display state " << dwState;
            }
        }
    }
    EXPECT_EQ(0u, g_hMusicStream) << "music left playing for a window object that is gone";
    GetApp()->WriteSettingInt("Config", "bMusic", 0);
}

}  // namespace
