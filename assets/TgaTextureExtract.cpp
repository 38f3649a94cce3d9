// TgaTexture's resource extraction; Windows only, so the loader stays portable.
#include "assets/TgaTexture.h"

#include "assets/ResourceExtraction.h"

int TgaTexture::ExtractResourceToTemp(const char* pszName, const char* pszFileName) {
    if (!CopyResource(pszName, "TGA", &m_pResourceCopy, &m_nResourceSize)) return 0;
    bool bWritten = WriteTempFile(pszFileName, m_pResourceCopy, static_cast<std::size_t>(m_nResourceSize));
    delete[] m_pResourceCopy;
    m_pResourceCopy = nullptr;
    return bWritten ? 1 : 0;
}
