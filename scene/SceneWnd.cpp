#include "scene/SceneWnd.h"

#include "framework/PaintDC.h"
#include "res/resource.h"
#include "scene/PixelFormat.h"
#include "scene/Scene.h"
#include "scene/SceneClock.h"
#include "shell/SaverSettings.h"

#include <cstddef>
#include <cstring>

LPCSTR g_lpszSceneWndClass = nullptr;

namespace {

const UINT_PTR kFrameTimer = 1;
const UINT kFrameIntervalMs = 31;
const DWORD kDisplayOff = 0;  // GUID_CONSOLE_DISPLAY_STATE: 0 off, 1 on, 2 dimmed

// The console display's new state, or -1 when the broadcast tells something
// else. Any program on the desktop may send this message with any number as
// its pointer: the setting is copied with ReadProcessMemory, which fails on
// an address that cannot be read where a plain read would crash.
int DisplayStateOf(WPARAM wParam, LPARAM lParam)
{
    if (wParam != PBT_POWERSETTINGCHANGE)
        return -1;
    unsigned char bytes[offsetof(POWERBROADCAST_SETTING, Data) + sizeof(DWORD)];
    SIZE_T nRead = 0;
    if (!::ReadProcessMemory(::GetCurrentProcess(), reinterpret_cast<LPCVOID>(lParam), bytes,
                             sizeof bytes, &nRead) || nRead != sizeof bytes)
        return -1;
    POWERBROADCAST_SETTING setting;
    std::memcpy(&setting, bytes, offsetof(POWERBROADCAST_SETTING, Data));
    if (!::IsEqualGUID(setting.PowerSetting, GUID_CONSOLE_DISPLAY_STATE) ||
        setting.DataLength != sizeof(DWORD))
        return -1;
    DWORD dwState;
    std::memcpy(&dwState, bytes + offsetof(POWERBROADCAST_SETTING, Data), sizeof dwState);
    return static_cast<int>(dwState);
}

}  // namespace

FERRO_BEGIN_MESSAGE_MAP(CSceneWnd, CWnd)
    FERRO_ON_MESSAGE(WM_CREATE, HandleCreate)
    FERRO_ON_MESSAGE(WM_SIZE, HandleSize)
    FERRO_ON_MESSAGE(WM_TIMER, HandleTimer)
    FERRO_ON_MESSAGE(WM_PAINT, HandlePaint)
    FERRO_ON_MESSAGE(WM_ERASEBKGND, HandleEraseBackground)
    FERRO_ON_MESSAGE(WM_DESTROY, HandleDestroy)
    FERRO_ON_MESSAGE(WM_POWERBROADCAST, HandlePowerBroadcast)
FERRO_END_MESSAGE_MAP()

CSceneWnd::CSceneWnd(int bAutoDelete)
{
    const SaverSettings settings = LoadSettings();
    m_bMotionBlur = settings.m_bMotionBlur;
    m_fOscillations = settings.m_fOscillations;
    m_fRevolutions = settings.m_fRevolutions;
    m_strMp3Path = settings.m_strMp3Path;
    m_bMusic = settings.m_bMusic;
    m_bAutoDelete = bAutoDelete;
}

// An object that goes while its window still lives (one on the stack, or a
// member) takes the window with it here, while it is still a scene window:
// the base class's destructor could only run the base's handling, leaving
// the music playing and the OpenGL context behind.
CSceneWnd::~CSceneWnd()
{
    m_bAutoDelete = 0;  // being deleted already
    DestroyWindow();
}

BOOL CSceneWnd::CreateSceneWindow(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParent)
{
    if (g_lpszSceneWndClass == nullptr) {
        HCURSOR hBlank = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_BLANK));
        g_lpszSceneWndClass = RegisterWndClass(CS_HREDRAW | CS_VREDRAW, hBlank, nullptr, nullptr);
    }
    HWND hParent = pParent != nullptr ? pParent->m_hWnd : nullptr;
    return CreateEx(dwExStyle, g_lpszSceneWndClass, "", dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, hParent, nullptr);
}

void CSceneWnd::HandleFinalDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

LRESULT CSceneWnd::HandleCreate(WPARAM, LPARAM)
{
    if (Default() == -1)
        return -1;
    m_hDC = ::GetDC(m_hWnd);
    SetupPixelFormat(m_hDC);  // the window lives on without a format; nothing then shows
    // Its message box may have let our parent (another program's window, in
    // preview mode) destroy us meanwhile: then there is nothing to set up.
    if (m_hWnd == nullptr)
        return -1;
    m_hRC = ::wglCreateContext(m_hDC);
    ::wglMakeCurrent(m_hDC, m_hRC);
    InitScene();
    ::wglMakeCurrent(nullptr, nullptr);
    g_Motion.m_dStartTime = static_cast<double>(ReadSceneClock()) * 0.001;
    ::SetTimer(m_hWnd, kFrameTimer, kFrameIntervalMs, nullptr);
    // Nobody sees frames drawn while the display is off; a laptop pays for them.
    m_hPowerNotify = ::RegisterPowerSettingNotification(m_hWnd, &GUID_CONSOLE_DISPLAY_STATE,
                                                        DEVICE_NOTIFY_WINDOW_HANDLE);
    if (m_bMusic == 1)
        StartMusic();
    return 0;
}

LRESULT CSceneWnd::HandleSize(WPARAM, LPARAM lParam)
{
    Default();
    ::wglMakeCurrent(m_hDC, m_hRC);
    ResizeScene(LOWORD(lParam), HIWORD(lParam));  // a minimised window passes 0 x 0
    ::wglMakeCurrent(nullptr, nullptr);
    return 0;
}

LRESULT CSceneWnd::HandleTimer(WPARAM, LPARAM)
{
    // Only asks for a paint: late paints merge, so no backlog builds up.
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return Default();
}

LRESULT CSceneWnd::HandlePaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);  // validates the update region; all drawing goes through m_hDC
    if (m_bDisplayOff)
        return 0;
    ::wglMakeCurrent(m_hDC, m_hRC);
    UpdateMotion(g_Motion.m_dStartTime, m_fOscillations, m_fRevolutions);
    RenderScene(m_bMotionBlur);
    ::SwapBuffers(m_hDC);
    ::wglMakeCurrent(m_hDC, nullptr);
    return 0;
}

LRESULT CSceneWnd::HandleEraseBackground(WPARAM, LPARAM)
{
    return 0;  // every pixel comes from the swapped OpenGL buffer
}

LRESULT CSceneWnd::HandleDestroy(WPARAM, LPARAM)
{
    Default();
    ::KillTimer(m_hWnd, kFrameTimer);
    if (m_hPowerNotify != nullptr)
        ::UnregisterPowerSettingNotification(m_hPowerNotify);
    m_hPowerNotify = nullptr;
    ReleaseScene();
    ::wglDeleteContext(m_hRC);
    ::ReleaseDC(m_hWnd, m_hDC);
    if (m_bMusic == 1)
        StopMusic();
    return 0;
}

LRESULT CSceneWnd::HandlePowerBroadcast(WPARAM wParam, LPARAM lParam)
{
    const int nState = DisplayStateOf(wParam, lParam);
    if (nState < 0)
        return Default();
    const BOOL bOff = static_cast<DWORD>(nState) == kDisplayOff;
    if (bOff == m_bDisplayOff)
        return TRUE;
    m_bDisplayOff = bOff;
    if (bOff) {
        ::KillTimer(m_hWnd, kFrameTimer);
    } else {
        // On or dimmed: a frame at once, the pose taken from the clock as ever.
        ::SetTimer(m_hWnd, kFrameTimer, kFrameIntervalMs, nullptr);
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }
    return TRUE;
}
