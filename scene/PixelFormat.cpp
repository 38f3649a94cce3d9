#include "scene/PixelFormat.h"

#include "framework/WinApp.h"

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
