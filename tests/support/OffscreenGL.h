// A real OpenGL context drawing into memory (Mesa's OSMesa), for tests and
// benchmarks that look at the pixels a frame really produces.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace offscreen {

// An RGBA colour buffer of 8 bits a channel with a 32-bit depth buffer, current
// on this thread from construction until destruction.
class OffscreenGL {
public:
    OffscreenGL(int nWidth, int nHeight);
    ~OffscreenGL();
    OffscreenGL(const OffscreenGL&) = delete;
    OffscreenGL& operator=(const OffscreenGL&) = delete;

    bool IsCurrent() const { return m_bCurrent; }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }

    // The colour buffer after glFinish, 4 bytes a pixel, bottom row first.
    std::vector<std::uint8_t> Pixels() const;

private:
    void* m_pContext;
    int m_nWidth;
    int m_nHeight;
    bool m_bCurrent;
    std::vector<std::uint8_t> m_buffer;
};

// Writes RGBA pixels (bottom row first) as a binary PPM, top row first, for a
// person to look at; false when the file cannot be written.
bool WritePpm(const std::string& strPath, const std::vector<std::uint8_t>& pixels, int nWidth,
              int nHeight);

}  // namespace offscreen
