// Md3Model's resource extraction; Windows only, so the loader stays portable.
#include "assets/Md3Model.h"

#include "assets/Md3ExtractSize.h"
#include "assets/ResourceExtraction.h"

int Md3Model::ExtractResourceToTemp(const char* pszName, const char* pszFileName) {
    if (!CopyResource(pszName, "MD3", &m_pResourceCopy, &m_nResourceSize)) return 0;
    std::size_t nBytes = Md3ExtractSize(m_pResourceCopy, static_cast<std::size_t>(m_nResourceSize));
    bool bWritten = WriteTempFile(pszFileName, m_pResourceCopy, nBytes);
    delete[] m_pResourceCopy;
    m_pResourceCopy = nullptr;
    return bWritten ? 1 : 0;
}
