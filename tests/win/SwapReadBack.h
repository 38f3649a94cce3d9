// Every swap of the program's OpenGL windows comes here (the link wraps
// SwapBuffers): the frame each window drew last, read back before the swap,
// and how many frames reached each window's screen.
#pragma once

#include "support/Picture.h"

#include <windows.h>

#include <map>

// The frame each scene window drew last, read between drawing and the swap as
// any conformant driver allows (Wine 8 shows no OpenGL drawn into a child
// window). After the swap the back buffer is undefined: the wrap then fills it
// with magenta, a colour no frame has, as a driver may, so that a read after a
// swap would show.
extern std::map<HDC, Picture> g_lastFrames;
extern std::map<HDC, int> g_swapCounts;
