#include "assets/Md3Surface.h"

#include <cstdlib>
#include <cstring>

#include "assets/CheckedSize.h"
#include "assets/OpenGL.h"

namespace {

// A zero-filled array of nCount records, or none when the count is zero or less.
template <typename T>
bool AllocateRecords(std::int32_t nCount, T** ppRecords) {
    *ppRecords = nullptr;
    std::size_t nBytes = 0;
    if (!RecordBytes(nCount, sizeof(T), &nBytes)) return false;
    if (nBytes == 0) return true;
    *ppRecords = static_cast<T*>(std::calloc(static_cast<std::size_t>(nCount), sizeof(T)));
    return *ppRecords != nullptr;
}

template <typename T>
void ReadRecords(std::FILE* pFile, T* pRecords, std::int32_t nCount) {
    if (pRecords != nullptr && nCount > 0) std::fread(pRecords, sizeof(T), static_cast<std::size_t>(nCount), pFile);
}

}  // namespace

float Md3NormalByteToCoord(std::uint8_t byte) {
    return static_cast<float>(static_cast<std::int8_t>(byte)) * 0.00390625f;
}

Md3Surface::Md3Surface()
    : m_pShaders(nullptr), m_pTriangles(nullptr), m_pTexCoords(nullptr), m_pVertices(nullptr) {
    std::memset(&m_Header, 0, sizeof m_Header);
}

Md3Surface::~Md3Surface() {
    std::free(m_pShaders);
    std::free(m_pTriangles);
    std::free(m_pTexCoords);
    std::free(m_pVertices);
}

bool Md3Surface::Allocate() {
    std::int32_t nVertexRecords = 0;
    if (m_Header.numFrames > 0 && m_Header.numVerts > 0) {
        std::size_t nProduct = 0;
        if (!CheckedMul(static_cast<std::size_t>(m_Header.numFrames), static_cast<std::size_t>(m_Header.numVerts),
                        &nProduct) || nProduct > 0x7fffffff)
            return false;
        nVertexRecords = static_cast<std::int32_t>(nProduct);
    }
    return AllocateRecords(m_Header.numShaders, &m_pShaders) &&
           AllocateRecords(m_Header.numTriangles, &m_pTriangles) &&
           AllocateRecords(m_Header.numVerts, &m_pTexCoords) &&
           AllocateRecords(nVertexRecords, &m_pVertices);
}

// The surface's blocks together must fit in what the model may still allocate.
bool Md3Surface::BlocksFit(std::size_t* pnBytesLeft) const {
    std::size_t nShaders = 0, nTriangles = 0, nTexCoords = 0, nVerts = 0, nVertexBytes = 0;
    std::size_t nTotal = 0;
    std::int32_t nFrames = m_Header.numVerts > 0 ? m_Header.numFrames : 0;
    return RecordBytes(m_Header.numShaders, sizeof(Md3Shader), &nShaders) &&
           RecordBytes(m_Header.numTriangles, sizeof(Md3Triangle), &nTriangles) &&
           RecordBytes(m_Header.numVerts, sizeof(Md3TexCoord), &nTexCoords) &&
           RecordBytes(m_Header.numVerts, sizeof(Md3Vertex), &nVerts) &&
           RecordBytes(nFrames, nVerts, &nVertexBytes) &&
           CheckedAdd(nShaders, nTriangles, &nTotal) && CheckedAdd(nTotal, nTexCoords, &nTotal) &&
           CheckedAdd(nTotal, nVertexBytes, &nTotal) && TakeBytes(nTotal, pnBytesLeft);
}

int Md3Surface::Read(std::FILE* pFile, std::size_t* pnBytesLeft) {
    std::memset(&m_Header, 0, sizeof m_Header);
    std::fread(&m_Header, sizeof m_Header, 1, pFile);
    if (std::memcmp(m_Header.ident, MD3_IDENT, MD3_IDENT_LENGTH) != 0) return 0;
    if (!BlocksFit(pnBytesLeft) || !Allocate()) return 0;
    ReadRecords(pFile, m_pShaders, m_Header.numShaders);
    ReadRecords(pFile, m_pTriangles, m_Header.numTriangles);
    ReadRecords(pFile, m_pTexCoords, m_Header.numVerts);
    // Allocate has checked that this product fits when both counts are positive.
    if (m_Header.numFrames > 0 && m_Header.numVerts > 0)
        ReadRecords(pFile, m_pVertices, m_Header.numFrames * m_Header.numVerts);
    return 1;
}

void Md3Surface::DrawTriangle(const Md3Triangle& triangle, const Md3Vertex* pFrameVertices) const {
    for (std::int32_t nIndex : triangle.indexes)
        if (nIndex < 0 || nIndex >= m_Header.numVerts) return;  // never read outside the frame
    glBegin(GL_TRIANGLES);
    // Reversed order: with counter-clockwise front faces the file's winding shows the outside.
    for (int nCorner = 2; nCorner >= 0; --nCorner) {
        const Md3Vertex& vertex = pFrameVertices[triangle.indexes[nCorner]];
        glTexCoord2f(Md3NormalByteToCoord(vertex.normal[0]), Md3NormalByteToCoord(vertex.normal[1]));
        glVertex3f(vertex.xyz[0], vertex.xyz[1], vertex.xyz[2]);
    }
    glEnd();
}

void Md3Surface::Draw(int nFrame) const {
    glPushMatrix();
    glScalef(0.015f, 0.015f, 0.015f);
    if (m_pTriangles != nullptr && m_pVertices != nullptr) {
        int nChosen = (nFrame >= 0 && nFrame < m_Header.numFrames) ? nFrame : 0;
        const Md3Vertex* pFrameVertices =
            m_pVertices + static_cast<std::size_t>(nChosen) * static_cast<std::size_t>(m_Header.numVerts);
        for (int nTriangle = 0; nTriangle < m_Header.numTriangles; ++nTriangle)
            DrawTriangle(m_pTriangles[nTriangle], pFrameVertices);
    }
    glPopMatrix();
}
