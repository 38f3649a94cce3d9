#include "support/FakeAssetExtraction.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "assets/Md3Model.h"
#include "assets/TgaTexture.h"
#include "scene/TempDirectory.h"

namespace {

std::vector<std::string>& TheExtractions() {
    static std::vector<std::string> extractions;
    return extractions;
}

void Record(const char* pszMember, const char* pszName, const char* pszFileName) {
    TheExtractions().push_back(std::string(pszMember) + "(" + pszName + ", " + pszFileName + ")");
}

// Copies res/<source> to <temp directory><file name>; the resource's size, or
// -1 when the resource is unknown or the copy fails.
long long CopyCommittedAsset(const char* pszName, const char* pszExpected, const char* pszSource,
                             const char* pszFileName) {
    if (std::strcmp(pszName, pszExpected) != 0) return -1;
    const std::filesystem::path source = std::filesystem::path(FERRO_RES_DIR) / pszSource;
    const std::string strTarget = ReadTempDirectory() + pszFileName;
    std::error_code error;
    std::filesystem::copy_file(source, strTarget,
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error) return -1;
    return static_cast<long long>(std::filesystem::file_size(source, error));
}

}  // namespace

namespace fakescene {
const std::vector<std::string>& Extractions() { return TheExtractions(); }
void ResetExtractions() { TheExtractions().clear(); }
}  // namespace fakescene

int Md3Model::ExtractResourceToTemp(const char* pszName, const char* pszFileName) {
    Record("Md3Model::ExtractResourceToTemp", pszName, pszFileName);
    const long long nSize = CopyCommittedAsset(pszName, "#144", "ferrovane.md3", pszFileName);
    if (nSize < 0) return 0;
    m_nResourceSize = static_cast<std::int32_t>(nSize);
    return 1;
}

int TgaTexture::ExtractResourceToTemp(const char* pszName, const char* pszFileName) {
    Record("TgaTexture::ExtractResourceToTemp", pszName, pszFileName);
    const long long nSize = CopyCommittedAsset(pszName, "#143", "ferrovane.tga", pszFileName);
    if (nSize < 0) return 0;
    m_nResourceSize = static_cast<std::int32_t>(nSize);
    return 1;
}
