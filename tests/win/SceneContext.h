// A hidden window's OpenGL context in the scene's pixel format, current on
// this thread while the object lives.
#pragma once

#include "scene/PixelFormat.h"  // and windows.h

struct SceneContext {
    HWND hWnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 16, 16, nullptr, nullptr, nullptr, nullptr);
    HDC hDC = ::GetDC(hWnd);
    PIXELFORMATDESCRIPTOR pfd = ScenePixelFormatDescriptor();
    HGLRC hRC = ::SetPixelFormat(hDC, ::ChoosePixelFormat(hDC, &pfd), &pfd) ? ::wglCreateContext(hDC) : nullptr;
    bool bCurrent = hRC != nullptr && ::wglMakeCurrent(hDC, hRC);
    ~SceneContext() { ::wglMakeCurrent(nullptr, nullptr), ::wglDeleteContext(hRC), ::ReleaseDC(hWnd, hDC), ::DestroyWindow(hWnd); }
};
