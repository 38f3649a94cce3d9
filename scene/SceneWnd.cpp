#include "scene/SceneWnd.h"

#include "framework/PaintDC.h"
#include "res/resource.h"
#include "scene/PixelFormat.h"
#include "scene/Scene.h"
#include "scene/SceneClock.h"
#include "shell/SaverSettings.h"

LPCSTR g_lpszSceneWndClass = nullptr;

namespace {

const UINT_PTR kFrameTimer = 1;
const UINT kFrameIntervalMs = 31;

}  // namespace

FERRO_BEGIN_MESSAGE_MAP(CSceneWnd, CWnd)
    FERRO_ON_MESSAGE(WM_CREATE, HandleCreate)
    FERRO_ON_MESSAGE(WM_SIZE, HandleSize)
    FERRO_ON_MESSAGE(WM_TIMER, HandleTimer)
    FERRO_ON_MESSAGE(WM_PAINT, HandlePaint)
    FERRO_ON_MESSAGE(WM_ERASEBKGND, HandleEraseBackground)
    FERRO_ON_MESSAGE(WM_DESTROY, HandleDestroy)
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

CSceneWnd::~CSceneWnd() = default;

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
    ReleaseScene();
    ::wglDeleteContext(m_hRC);
    ::ReleaseDC(m_hWnd, m_hDC);
    if (m_bMusic == 1)
        StopMusic();
    return 0;
}
