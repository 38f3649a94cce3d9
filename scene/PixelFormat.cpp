#include "scene/PixelFormat.h"

#include "framework/WinApp.h"

PIXELFORMATDESCRIPTOR ScenePixelFormatDescriptor()
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

int SetupPixelFormat(HDC hDC)
{
    const PIXELFORMATDESCRIPTOR pfd = ScenePixelFormatDescriptor();
    const int format = ::ChoosePixelFormat(hDC, &pfd);
    if (format == 0) {
        GetApp()->ShowMessageBox("No se pudo elegir un formato de pixel correcto.", MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    if (!::SetPixelFormat(hDC, format, &pfd)) {
        GetApp()->ShowMessageBox("No se pudo seleccionar el formato de pixel especificado.",
                                 MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    return 1;
}
