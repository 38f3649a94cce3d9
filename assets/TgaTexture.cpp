#include "assets/TgaTexture.h"

#include <cstdlib>
#include <utility>

#include "assets/CheckedSize.h"

TgaTexture::TgaTexture()
    : m_nStatus(0), m_nBitsPerPixel(0), m_nWidth(0), m_nHeight(0), m_uTexture(0), m_nPixelCount(0),
      m_eFormat(0), m_pPixels(nullptr), m_pResourceCopy(nullptr), m_nResourceSize(0) {}

TgaTexture::~TgaTexture() {
    FreePixels();
    delete[] m_pResourceCopy;
}

void TgaTexture::FreePixels() {
    std::free(m_pPixels);
    m_pPixels = nullptr;
}

int TgaTexture::SetFailure(std::int32_t nCode, std::FILE* pFile) {
    m_nStatus = nCode;
    if (pFile != nullptr) std::fclose(pFile);
    return 0;
}

int TgaTexture::IsPowerOfTwo(std::int32_t nValue) {
    for (int i = 0;; ++i) {
        double p = static_cast<double>(1u << i);
        if (p > TGA_MAX_SIDE) return 0;
        if (static_cast<double>(nValue) == p) return 1;
    }
}

int TgaTexture::Load(const char* pszPath) {
    // Pixels kept from an earlier load would no longer match the new header.
    FreePixels();
    // Binary on every C runtime (some let the first of b/t decide, some the
    // last, so no t at all); "r+" asks for update access as well, so a file
    // that cannot be written fails too.
    std::FILE* pFile = std::fopen(pszPath, "r+b");
    if (pFile == nullptr) return SetFailure(TGA_STATUS_CANNOT_OPEN, nullptr);
    TgaHeader header = {};
    if (std::fread(&header, 1, 3, pFile) != 3 || std::fseek(pFile, TGA_OFFSET_WIDTH, SEEK_SET) != 0 ||
        std::fread(header.width, 1, 6, pFile) != 6)
        return SetFailure(TGA_STATUS_NO_PIXELS, pFile);
    if (header.colorMapType != 0 ||
        (header.imageType != TGA_TYPE_TRUE_COLOR && header.imageType != TGA_TYPE_GREY))
        return SetFailure(TGA_STATUS_BAD_TYPE, pFile);
    m_nWidth = header.width[0] + 256 * header.width[1];
    m_nHeight = header.height[0] + 256 * header.height[1];
    m_nBitsPerPixel = header.pixelDepth;
    // Sides up to 65535 each: multiplied unsigned so an oversized header cannot
    // overflow; such a header fails the side check below anyway.
    m_nPixelCount = static_cast<std::int32_t>(static_cast<std::uint32_t>(m_nWidth) * static_cast<std::uint32_t>(m_nHeight));
    if (!IsPowerOfTwo(m_nWidth) || !IsPowerOfTwo(m_nHeight)) return SetFailure(TGA_STATUS_BAD_SIZE, pFile);
    if (m_nBitsPerPixel != 32 && m_nBitsPerPixel != 24 && m_nBitsPerPixel != 8)
        return SetFailure(TGA_STATUS_BAD_DEPTH, pFile);
    m_pPixels = ReadPixels(pFile, m_nPixelCount);
    if (m_pPixels == nullptr) return SetFailure(TGA_STATUS_NO_PIXELS, pFile);
    std::fclose(pFile);
    return 1;
}

unsigned char* TgaTexture::ReadPixels(std::FILE* pFile, std::int32_t nCount) {
    switch (m_nBitsPerPixel) {
    case 32: return ReadPixels32(pFile, nCount);
    case 24: return ReadPixels24(pFile, nCount);
    case 8: return ReadPixels8(pFile, nCount);
    default: return nullptr;
    }
}

unsigned char* TgaTexture::ReadPixels8(std::FILE* pFile, std::int32_t nCount) {
    return ReadPixelsAs(pFile, nCount, 1, GL_ALPHA);
}

unsigned char* TgaTexture::ReadPixels24(std::FILE* pFile, std::int32_t nCount) {
    return ReadPixelsAs(pFile, nCount, 3, GL_RGB);
}

unsigned char* TgaTexture::ReadPixels32(std::FILE* pFile, std::int32_t nCount) {
    return ReadPixelsAs(pFile, nCount, 4, GL_RGBA);
}

// One read into one buffer of the image's size; multi-byte pixels arrive
// blue first and are turned to red first in place.
unsigned char* TgaTexture::ReadPixelsAs(std::FILE* pFile, std::int32_t nCount, std::size_t nBytesPerPixel,
                                        GLenum eFormat) {
    std::size_t nBytes = 0;
    if (nCount <= 0 || !RecordBytes(nCount, nBytesPerPixel, &nBytes)) return nullptr;
    auto* pPixels = static_cast<unsigned char*>(std::malloc(nBytes));
    if (pPixels == nullptr) return nullptr;
    if (std::fread(pPixels, 1, nBytes, pFile) != nBytes) {
        std::free(pPixels);
        return nullptr;
    }
    if (nBytesPerPixel >= 3)
        for (std::size_t i = 0; i < nBytes; i += nBytesPerPixel) std::swap(pPixels[i], pPixels[i + 2]);
    m_eFormat = eFormat;
    return pPixels;
}

int TgaTexture::LoadAndUpload(const char* pszPath, GLuint uTexture, int nKeepPixels, int nFormatOverride) {
    int nResult = Load(pszPath);
    if (nResult != 1) return nResult;
    m_uTexture = uTexture;
    if (nFormatOverride != 0) m_eFormat = static_cast<GLenum>(nFormatOverride);
    if (nKeepPixels != 0) return 1;
    Upload();
    FreePixels();
    return 1;
}

void TgaTexture::Upload() {
    if (m_pPixels == nullptr) return;
    glBindTexture(GL_TEXTURE_2D, m_uTexture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLfloat>(GL_MODULATE));
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(m_eFormat), m_nWidth, m_nHeight, 0, m_eFormat,
                 GL_UNSIGNED_BYTE, m_pPixels);
}
