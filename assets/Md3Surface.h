// One surface of an MD3 model: its header and the four record arrays that
// follow it in the file. Created and owned by Md3Model.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "assets/Md3Format.h"

// Texture coordinate from one byte of a packed normal, read as signed: the
// skin's environment map runs from -0.5 to 0.49609375 around the model.
float Md3NormalByteToCoord(std::uint8_t byte);

class Md3Surface {
public:
    Md3Surface();
    ~Md3Surface();
    Md3Surface(const Md3Surface&) = delete;
    Md3Surface& operator=(const Md3Surface&) = delete;

    // Zero-filled arrays for the counts in m_Header; false when one cannot be had.
    bool Allocate();
    // Reads the surface at the stream's position, its arrays taken from the
    // model's allowance *pnBytesLeft: counts that need more are refused.
    // 1 read (a short file leaves zeros), 0 refused.
    int Read(std::FILE* pFile, std::size_t* pnBytesLeft);
    // Draws frame nFrame (frame 0 when out of range) with environment-mapping
    // texture coordinates taken from the packed normals.
    void Draw(int nFrame) const;

    Md3SurfaceHeader m_Header;
    Md3Shader* m_pShaders;
    Md3Triangle* m_pTriangles;
    Md3TexCoord* m_pTexCoords;
    Md3Vertex* m_pVertices;

private:
    bool BlocksFit(std::size_t* pnBytesLeft) const;
    void DrawTriangle(const Md3Triangle& triangle, const Md3Vertex* pFrameVertices) const;
};
