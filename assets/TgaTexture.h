// An uncompressed TGA image held in memory and uploaded as a repeating,
// linearly filtered OpenGL texture.
#pragma once

#include <cstdint>
#include <cstdio>

#include "assets/OpenGL.h"
#include "assets/TgaFormat.h"

class TgaTexture {
public:
    TgaTexture();
    ~TgaTexture();
    TgaTexture(const TgaTexture&) = delete;
    TgaTexture& operator=(const TgaTexture&) = delete;

    // 1 with the image in m_pPixels; 0 with the reason in m_nStatus.
    int Load(const char* pszPath);
    // Load, then upload into uTexture unless nKeepPixels; nFormatOverride, when
    // not 0, replaces the format. Returns Load's result.
    int LoadAndUpload(const char* pszPath, GLuint uTexture, int nKeepPixels, int nFormatOverride);
    // Binds m_uTexture and fills it from m_pPixels; nothing without pixels.
    void Upload();
    // Writes the embedded TGA resource pszName to pszFileName in the temporary
    // directory (Windows only). 1 written, 0 not.
    int ExtractResourceToTemp(const char* pszName, const char* pszFileName);

    std::int32_t m_nStatus;
    std::int32_t m_nBitsPerPixel;
    std::int32_t m_nWidth;
    std::int32_t m_nHeight;
    GLuint m_uTexture;
    std::int32_t m_nPixelCount;
    GLenum m_eFormat;
    unsigned char* m_pPixels;
    unsigned char* m_pResourceCopy;
    std::int32_t m_nResourceSize;

private:
    int SetFailure(std::int32_t nCode, std::FILE* pFile);
    static int IsPowerOfTwo(std::int32_t nValue);
    unsigned char* ReadPixels(std::FILE* pFile, std::int32_t nCount);
    unsigned char* ReadPixels8(std::FILE* pFile, std::int32_t nCount);
    unsigned char* ReadPixels24(std::FILE* pFile, std::int32_t nCount);
    unsigned char* ReadPixels32(std::FILE* pFile, std::int32_t nCount);
    unsigned char* ReadPixelsAs(std::FILE* pFile, std::int32_t nCount, std::size_t nBytesPerPixel, GLenum eFormat);
    void FreePixels();
};
