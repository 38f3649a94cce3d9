// The pixel format every scene window asks for: RGBA, 32-bit colour, 32-bit
// depth, double-buffered, drawn by OpenGL into a window.
#pragma once

#include <windows.h>

// 1 when the format is set; 0 after telling the user why it is not.
int SetupPixelFormat(HDC hDC);

// The descriptor SetupPixelFormat asks for.
PIXELFORMATDESCRIPTOR ScenePixelFormatDescriptor();
