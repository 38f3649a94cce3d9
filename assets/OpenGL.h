// OpenGL 1.1 for the portable code: on Windows the system's headers need
// windows.h first; elsewhere the same calls come from Mesa or the test fake.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif
#include <GL/gl.h>
