// An MD3 model read front to back from its file, drawn one frame at a time
// in OpenGL immediate mode.
#pragma once

#include <cstdint>
#include <cstdio>

#include "assets/Md3Format.h"

class Md3Surface;

class Md3Model {
public:
    Md3Model();
    ~Md3Model();
    Md3Model(const Md3Model&) = delete;
    Md3Model& operator=(const Md3Model&) = delete;

    // 1 when the whole model has been read; 0 otherwise, leaving the model
    // empty (safe to draw, draws nothing).
    int Load(const char* pszPath);
    // Draws every surface at nFrame (frame 0 where a surface has no such frame).
    void Draw(int nFrame);
    // Writes the embedded MD3 resource pszName to pszFileName in the temporary
    // directory (Windows only). 1 written, 0 not.
    int ExtractResourceToTemp(const char* pszName, const char* pszFileName);
    // Arrays and empty surfaces for the counts in m_Header.
    bool Allocate();

    std::FILE* m_pFile;
    Md3Header m_Header;
    Md3Frame* m_pFrames;
    Md3Tag* m_pTags;
    Md3Surface* m_apSurfaces[MD3_MAX_SURFACES];
    unsigned char* m_pResourceCopy;
    std::int32_t m_nResourceSize;
    std::int32_t m_nCurrentFrame;

private:
    int ReadAll();
    bool CountsFit(std::size_t* pnBytesLeft) const;
    int Fail();
    void Release();
};
