#include "support/FakeSeams.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "assets/Md3Model.h"
#include "assets/TgaTexture.h"
#include "scene/SceneClock.h"
#include "scene/TempDirectory.h"

namespace {

std::uint32_t g_uClock = 0;

struct TempDirectory {
    TempDirectory() : m_strPath((std::filesystem::temp_directory_path() / "ferro-XXXXXX").string()) {
        if (mkdtemp(m_strPath.data()) == nullptr) std::abort();
        m_strPath += '/';
    }
    ~TempDirectory() { std::filesystem::remove_all(m_strPath); }
    std::string m_strPath;
};

int CopyCommittedAsset(const char* pszSource, const char* pszFile) {
    std::error_code error;  // 0 when it cannot copy
    return std::filesystem::copy_file(std::filesystem::path(FERRO_RES_DIR) / pszSource, ReadTempDirectory() + pszFile,
                                      std::filesystem::copy_options::overwrite_existing, error) ? 1 : 0;
}

}  // namespace

void fakescene::SetClock(std::uint32_t uMilliseconds) { g_uClock = uMilliseconds; }

std::string fakescene::WriteTestFile(const std::string& strName, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(ReadTempDirectory() + strName, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return ReadTempDirectory() + strName;
}

std::uint32_t ReadSceneClock() { return g_uClock; }

std::string ReadTempDirectory() {
    static const TempDirectory directory;
    return directory.m_strPath;
}

int Md3Model::ExtractResourceToTemp(const char*, const char* pszFile) { return CopyCommittedAsset("ferrovane.md3", pszFile); }
int TgaTexture::ExtractResourceToTemp(const char*, const char* pszFile) { return CopyCommittedAsset("ferrovane.tga", pszFile); }
