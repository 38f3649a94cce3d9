// The pixel format every scene window asks for: RGBA, 32-bit colour, 32-bit
// depth, double-buffered, drawn by OpenGL into a window.
#pragma once

#include <windows.h>

// 1 when the format is set; 0 after telling the user why it is not.
int SetupPixelFormat(HDC hDC);

// The descriptor SetupPixelFormat asks for. Here, so that the benchmark's
// floor program asks for the very same without linking the framework.
inline PIXELFORMATDESCRIPTOR ScenePixelFormatDescriptor()
{
    PIXELFORMATDESCRIPTOR pfd{};  // every field not named here is 0
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cDepthBits = 32;
    pfd.iLayerType = PFD_MAIN_PLANE;
    return pfd;
}
