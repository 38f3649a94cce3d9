#include "SwapReadBack.h"

#include <GL/gl.h>

std::map<HDC, Picture> g_lastFrames;
std::map<HDC, int> g_swapCounts;

extern "C" {
extern decltype(&SwapBuffers) __real___imp_SwapBuffers;
decltype(&SwapBuffers) __wrap___imp_SwapBuffers = [](HDC hDC) -> BOOL {
    RECT rc{};
    ::GetClientRect(::WindowFromDC(hDC), &rc);
    ++g_swapCounts[hDC];
    // Each window keeps one buffer, read into afresh at every frame: under Wine's
    // heap checking, a frame-sized block freed at every frame while another
    // thread allocates is now and then reported as "free block overwritten".
    Picture& frame = g_lastFrames[hDC];
    frame.nWidth = rc.right;
    frame.rgba.assign(std::size_t(rc.right) * rc.bottom * 4, 0);
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT | GL_PIXEL_MODE_BIT);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, rc.right, rc.bottom, GL_RGBA, GL_UNSIGNED_BYTE, frame.rgba.data());
    const BOOL bSwapped = __real___imp_SwapBuffers(hDC);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glPopAttrib();
    return bSwapped;
};
}
