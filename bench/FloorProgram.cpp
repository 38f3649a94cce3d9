// The floor of scripts/bench: the least a full-screen OpenGL screen saver can
// do under the same conditions. A top-most pop-up over the primary monitor
// with a double-buffered 32-bit OpenGL context that clears and shows a frame
// at every tick of a 31 ms timer; "FloorProgram idle" sets the same window up
// and draws nothing, the cost of a saver that only waits.
#include <windows.h>

#include <GL/gl.h>

#include "scene/PixelFormat.h"

#include <cstring>

namespace {

HDC g_hDC;

LRESULT CALLBACK FloorProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        ::SwapBuffers(g_hDC);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv)
{
    const bool bIdle = argc > 1 && std::strcmp(argv[1], "idle") == 0;
    WNDCLASSA wc{};
    wc.lpfnWndProc = &FloorProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "FerroFloor";
    ::RegisterClassA(&wc);
    HWND hWnd = ::CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0,
                                  ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
                                  nullptr, nullptr, wc.hInstance, nullptr);
    g_hDC = ::GetDC(hWnd);
    const PIXELFORMATDESCRIPTOR pfd = ScenePixelFormatDescriptor();
    ::SetPixelFormat(g_hDC, ::ChoosePixelFormat(g_hDC, &pfd), &pfd);
    HGLRC hRC = ::wglCreateContext(g_hDC);
    ::wglMakeCurrent(g_hDC, hRC);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ::SwapBuffers(g_hDC);  // one frame, so that idle starts from the same state
    if (!bIdle)
        ::SetTimer(hWnd, 1, 31, nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageA(&msg);
    ::wglMakeCurrent(nullptr, nullptr);
    ::wglDeleteContext(hRC);
    ::ReleaseDC(hWnd, g_hDC);
    return 0;
}
