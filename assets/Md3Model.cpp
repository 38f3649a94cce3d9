#include "assets/Md3Model.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "assets/CheckedSize.h"
#include "assets/Md3Surface.h"

Md3Model::Md3Model()
    : m_pFile(nullptr), m_pFrames(nullptr), m_pTags(nullptr), m_apSurfaces(),
      m_pResourceCopy(nullptr), m_nResourceSize(0), m_nCurrentFrame(0) {
    std::memset(&m_Header, 0, sizeof m_Header);
}

Md3Model::~Md3Model() {
    Release();
    delete[] m_pResourceCopy;
}

// Back to the empty model: no arrays, no surfaces, header all zero.
void Md3Model::Release() {
    for (Md3Surface*& pSurface : m_apSurfaces) {
        delete pSurface;
        pSurface = nullptr;
    }
    std::free(m_pFrames);
    std::free(m_pTags);
    m_pFrames = nullptr;
    m_pTags = nullptr;
    std::memset(&m_Header, 0, sizeof m_Header);
}

// Closes the stream and empties the model, so a failed load draws nothing.
int Md3Model::Fail() {
    if (m_pFile != nullptr) std::fclose(m_pFile);
    m_pFile = nullptr;
    Release();
    return 0;
}

// Surface count within the slots; frame and tag blocks taken from the model's
// allowance. A file cut short still loads: what it lacks stays zero.
bool Md3Model::CountsFit(std::size_t* pnBytesLeft) const {
    if (m_Header.numSurfaces > MD3_MAX_SURFACES) return false;
    std::size_t nFrames = 0, nTagsPerFrame = 0, nTags = 0;
    std::int32_t nTagFrames = m_Header.numTags > 0 ? m_Header.numFrames : 0;
    return RecordBytes(m_Header.numFrames, sizeof(Md3Frame), &nFrames) &&
           RecordBytes(m_Header.numTags, sizeof(Md3Tag), &nTagsPerFrame) &&
           RecordBytes(nTagFrames, nTagsPerFrame, &nTags) && TakeBytes(nFrames, pnBytesLeft) &&
           TakeBytes(nTags, pnBytesLeft);
}

bool Md3Model::Allocate() {
    if (m_Header.numFrames > 0) {
        m_pFrames = static_cast<Md3Frame*>(std::calloc(static_cast<std::size_t>(m_Header.numFrames), sizeof(Md3Frame)));
        if (m_pFrames == nullptr) return false;
    }
    if (m_Header.numTags > 0 && m_Header.numFrames > 0) {
        std::size_t nTags = 0;
        if (!CheckedMul(static_cast<std::size_t>(m_Header.numTags), static_cast<std::size_t>(m_Header.numFrames), &nTags))
            return false;
        m_pTags = static_cast<Md3Tag*>(std::calloc(nTags, sizeof(Md3Tag)));
        if (m_pTags == nullptr) return false;
    }
    for (int nSlot = 0; nSlot < m_Header.numSurfaces && nSlot < MD3_MAX_SURFACES; ++nSlot) {
        m_apSurfaces[nSlot] = new (std::nothrow) Md3Surface();
        if (m_apSurfaces[nSlot] == nullptr) return false;
    }
    return true;
}

// Header, frames, tags and surfaces in file order.
int Md3Model::ReadAll() {
    std::fread(&m_Header, sizeof m_Header, 1, m_pFile);
    if (std::memcmp(m_Header.ident, MD3_IDENT, MD3_IDENT_LENGTH) != 0) return 0;
    std::size_t nBytesLeft = MD3_MAX_MODEL_BYTES;
    if (!CountsFit(&nBytesLeft) || !Allocate()) return 0;
    if (m_pFrames != nullptr) std::fread(m_pFrames, sizeof(Md3Frame), static_cast<std::size_t>(m_Header.numFrames), m_pFile);
    if (m_pTags != nullptr)
        std::fread(m_pTags, sizeof(Md3Tag),
                   static_cast<std::size_t>(m_Header.numTags) * static_cast<std::size_t>(m_Header.numFrames), m_pFile);
    for (int nSlot = 0; nSlot < m_Header.numSurfaces; ++nSlot)
        if (!m_apSurfaces[nSlot]->Read(m_pFile, &nBytesLeft)) return 0;
    return 1;
}

int Md3Model::Load(const char* pszPath) {
    Release();  // a second load replaces the first
    m_pFile = std::fopen(pszPath, "rb");
    if (m_pFile == nullptr) return 0;
    if (!ReadAll()) return Fail();
    std::fclose(m_pFile);
    m_pFile = nullptr;
    return 1;
}

void Md3Model::Draw(int nFrame) {
    m_nCurrentFrame = nFrame;
    for (int nSlot = 0; nSlot < m_Header.numSurfaces && nSlot < MD3_MAX_SURFACES; ++nSlot)
        if (m_apSurfaces[nSlot] != nullptr) m_apSurfaces[nSlot]->Draw(m_nCurrentFrame);
}
