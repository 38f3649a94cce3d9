// A real OpenGL context drawing into memory (Mesa's OSMesa), current on this
// thread while the object lives: RGBA of 8 bits a channel, 32-bit depth.
// Included by one source file of a program, as it defines LSan's suppressions.
#pragma once

#include <GL/osmesa.h>

#include <cstdint>
#include <vector>

class OffscreenGL {
public:
    OffscreenGL(int nWidth, int nHeight)
        : m_buffer(std::size_t(nWidth) * std::size_t(nHeight) * 4), m_context(OSMesaCreateContextExt(OSMESA_RGBA, 32, 0, 0, nullptr)),
          m_bCurrent(m_context && OSMesaMakeCurrent(m_context, m_buffer.data(), GL_UNSIGNED_BYTE, nWidth, nHeight)) {}
    ~OffscreenGL() { OSMesaMakeCurrent(nullptr, nullptr, GL_UNSIGNED_BYTE, 0, 0); OSMesaDestroyContext(m_context); }
    OffscreenGL(const OffscreenGL&) = delete;
    OffscreenGL& operator=(const OffscreenGL&) = delete;
    bool IsCurrent() const { return m_bCurrent; }
    // The colour buffer after glFinish, 4 bytes a pixel, bottom row first.
    std::vector<std::uint8_t> Pixels() const { glFinish(); return m_buffer; }

private:
    std::vector<std::uint8_t> m_buffer;
    OSMesaContext m_context;
    bool m_bCurrent;
};

// Mesa keeps a framebuffer per OSMesa buffer for the life of the process: its
// own bookkeeping, not a leak of the code under test.
extern "C" const char* __lsan_default_suppressions() { return "leak:libOSMesa.so\n"; }
