// A scene window while the display is off, told the way Windows tells it: the
// window registers its own handle for the console display's state, and the
// system sends WM_POWERBROADCAST to what was registered. The link routes the
// registration here, so the test plays the system (and registers nothing with
// the real one); what reaches the screen is counted at the swaps.
#include "SceneMessages.h"
#include "SwapReadBack.h"
#include "framework/WinApp.h"
#include "scene/SceneWnd.h"
#include "sound/SceneMusic.h"
#include "win/PumpUntil.h"
#include "win/TestPack.h"

#include <algorithm>
#include <map>

namespace {

// Every registration for power notifications: the window that Windows then
// tells of the console display's state (registered with that setting and the
// window-handle flag), or null.
std::map<HPOWERNOTIFY, HWND> g_powerRegistrations;

extern "C" {
decltype(&RegisterPowerSettingNotification) __wrap___imp_RegisterPowerSettingNotification =
    [](HANDLE hRecipient, LPCGUID pGuid, DWORD dwFlags) {
        static UINT_PTR s_nLast;
        const auto hNotify = reinterpret_cast<HPOWERNOTIFY>(++s_nLast);
        const bool bDisplayState = dwFlags == DEVICE_NOTIFY_WINDOW_HANDLE && ::IsEqualGUID(*pGuid, GUID_CONSOLE_DISPLAY_STATE);
        g_powerRegistrations[hNotify] = bDisplayState ? static_cast<HWND>(hRecipient) : nullptr;
        return hNotify;
    };
decltype(&UnregisterPowerSettingNotification) __wrap___imp_UnregisterPowerSettingNotification =
    [](HPOWERNOTIFY hNotify) -> BOOL { return g_powerRegistrations.erase(hNotify) == 1; };
}

// What Windows does when the console display changes state; answers how many
// windows it told.
int TellDisplayState(LPARAM lParam)
{
    int nTold = 0;
    const auto registrations = g_powerRegistrations;  // a handler may register or unregister
    for (const auto& [hNotify, hWnd] : registrations) {
        if (hWnd != nullptr) {
            ::SendMessageA(hWnd, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, lParam);
            ++nTold;
        }
    }
    return nTold;
}

// Addresses that cannot be read while the test runs: reserved with nothing
// behind it, and a committed page without read access.
struct UnreadableMemory {
    void* pReserved = ::VirtualAlloc(nullptr, 1 << 16, MEM_RESERVE, PAGE_NOACCESS);
    void* pNoAccess = ::VirtualAlloc(nullptr, 1 << 12, MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS);
    ~UnreadableMemory()
    {
        ::VirtualFree(pReserved, 0, MEM_RELEASE);
        ::VirtualFree(pNoAccess, 0, MEM_RELEASE);
    }
};

// Off stops the frames, even when the system asks for a paint, and not the
// music; on and dimmed bring them back. Any other process may send the
// message with any pointer: a bad one is ignored, and a good one still obeyed.
// The window object goes with its window still there, takes the music and
// undoes its registration.
TEST(DisplayState, NoFramesWhileTheDisplayIsOff)
{
    GetApp()->WriteSettingInt("Config", "bMusic", 1);
    GetApp()->WriteSettingString("Config", "MP3 Sound", ToneNextToProgram().c_str());
    UnreadableMemory unreadable;
    ASSERT_TRUE(unreadable.pReserved != nullptr && unreadable.pNoAccess != nullptr);
    HWND hScene = nullptr;
    {
        CWnd host;
        ASSERT_TRUE(host.CreateEx(0, CWnd::RegisterWndClass(0, nullptr, nullptr, nullptr), "host",
                                  WS_POPUP | WS_VISIBLE, 0, 0, 160, 120, nullptr, nullptr));
        CSceneWnd wnd(0);
        ASSERT_TRUE(wnd.CreateSceneWindow(0, WS_CHILD | WS_VISIBLE, RECT{ 0, 0, 160, 120 }, &host));
        hScene = wnd.m_hWnd;
        static POWERBROADCAST_SETTING s_otherSetting = { GUID_ACDC_POWER_SOURCE, sizeof(DWORD), { 0 } };
        static POWERBROADCAST_SETTING s_shortState = { GUID_CONSOLE_DISPLAY_STATE, 1, { 0 } };
        const struct { const char* what; LPARAM lParam; bool bFromSystem; bool bFrames; } rows[] = {
            { "off", DisplayState(0), true, false },
            { "a null pointer", 0, false, false },
            { "a small number", 16, false, false },
            { "on", DisplayState(1), true, true },
            { "reserved memory", reinterpret_cast<LPARAM>(unreadable.pReserved), false, true },
            { "a page without read access", reinterpret_cast<LPARAM>(unreadable.pNoAccess), false, true },
            { "another setting", reinterpret_cast<LPARAM>(&s_otherSetting), false, true },
            { "a short length", reinterpret_cast<LPARAM>(&s_shortState), false, true },
            { "off again", DisplayState(0), true, false },
            { "dimmed", DisplayState(2), true, true },
        };
        for (const auto& row : rows) {
            if (row.bFromSystem)
                EXPECT_EQ(1, TellDisplayState(row.lParam)) << row.what << ": windows registered for the display's state";
            else
                ::SendMessageA(wnd.m_hWnd, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, row.lParam);
            ASSERT_TRUE(::IsWindow(wnd.m_hWnd)) << row.what;
            ::InvalidateRect(wnd.m_hWnd, nullptr, FALSE);  // as when a window over it goes
            const int nBefore = g_swapCounts[wnd.m_hDC];
            PumpUntil(300, [] { return false; });
            const int nFrames = g_swapCounts[wnd.m_hDC] - nBefore;
            EXPECT_EQ(row.bFrames, nFrames > 0) << row.what << ": " << nFrames << " frames";
            // A stream comes whether or not the PC can play it: this holds on any PC.
            EXPECT_NE(0u, g_hMusicStream) << "the music plays on: " << row.what;
        }
    }
    EXPECT_EQ(0u, g_hMusicStream) << "music left playing for a window object that is gone";
    const auto toScene = [&](const auto& registration) { return registration.second == hScene; };
    EXPECT_FALSE(std::any_of(g_powerRegistrations.begin(), g_powerRegistrations.end(), toScene))
        << "the display's state still told to a window that is gone";
}

}  // namespace
