// The floor the saver is measured against: the least a full-screen OpenGL
// program under the same system does. One top-most window over the primary
// monitor, the saver's pixel format, a 31 ms timer that clears and swaps.
// Ends at a key or when closed. For scripts/bench; not a test.
#include <windows.h>
#include <GL/gl.h>

namespace {

HDC g_hDC = nullptr;

LRESULT CALLBACK FloorProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    switch (nMessage) {
    case WM_TIMER:
        ::glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        ::SwapBuffers(g_hDC);
        return 0;
    case WM_KEYDOWN:
    case WM_CLOSE:
        ::DestroyWindow(hWnd);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(hWnd, nMessage, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA wc{};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = FloorProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = "FerroFloor";
    ::RegisterClassA(&wc);
    HWND hWnd = ::CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "Floor", WS_POPUP | WS_VISIBLE, 0, 0,
                                  ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
                                  nullptr, nullptr, hInstance, nullptr);
    g_hDC = ::GetDC(hWnd);
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cDepthBits = 32;
    pfd.iLayerType = PFD_MAIN_PLANE;
    if (!::SetPixelFormat(g_hDC, ::ChoosePixelFormat(g_hDC, &pfd), &pfd))
        return 1;
    HGLRC hRC = ::wglCreateContext(g_hDC);
    if (hRC == nullptr || !::wglMakeCurrent(g_hDC, hRC))
        return 1;
    ::SetTimer(hWnd, 1, 31, nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageA(&msg);
    ::wglMakeCurrent(nullptr, nullptr);
    ::wglDeleteContext(hRC);
    return 0;
}
