#include "support/OffscreenGL.h"

#include <GL/osmesa.h>

#include <cstdio>

namespace offscreen {

OffscreenGL::OffscreenGL(int nWidth, int nHeight)
    : m_pContext(nullptr), m_nWidth(nWidth), m_nHeight(nHeight), m_bCurrent(false),
      m_buffer(static_cast<std::size_t>(nWidth) * static_cast<std::size_t>(nHeight) * 4u) {
    OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, 32, 0, 0, nullptr);
    m_pContext = context;
    if (context == nullptr) return;
    m_bCurrent = OSMesaMakeCurrent(context, m_buffer.data(), GL_UNSIGNED_BYTE, nWidth, nHeight) ==
                 GL_TRUE;
}

OffscreenGL::~OffscreenGL() {
    if (m_pContext == nullptr) return;
    OSMesaMakeCurrent(nullptr, nullptr, GL_UNSIGNED_BYTE, 0, 0);
    OSMesaDestroyContext(static_cast<OSMesaContext>(m_pContext));
}

std::vector<std::uint8_t> OffscreenGL::Pixels() const {
    glFinish();
    return m_buffer;
}

bool WritePpm(const std::string& strPath, const std::vector<std::uint8_t>& pixels, int nWidth,
              int nHeight) {
    std::FILE* pFile = std::fopen(strPath.c_str(), "wb");
    if (pFile == nullptr) return false;
    std::fprintf(pFile, "P6\n%d %d\n255\n", nWidth, nHeight);
    for (int y = nHeight - 1; y >= 0; --y) {
        for (int x = 0; x < nWidth; ++x) {
            const std::size_t i = (static_cast<std::size_t>(y) * nWidth + x) * 4u;
            std::fwrite(&pixels[i], 1, 3, pFile);
        }
    }
    return std::fclose(pFile) == 0;
}

}  // namespace offscreen

// Mesa keeps a framebuffer per OSMesa buffer for the life of the process; that
// is the library's own bookkeeping, not a leak of the code under test.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libOSMesa.so\n";
}
