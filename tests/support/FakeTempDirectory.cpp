#include "support/FakeTempDirectory.h"

#include <filesystem>
#include <stdexcept>
#include <vector>

#include <stdlib.h>

#include "scene/TempDirectory.h"

namespace {
std::string g_strFakeTempDirectory;
}

namespace fakescene {

void SetTempDirectory(const std::string& strDirectory) { g_strFakeTempDirectory = strDirectory; }

ScratchDirectory::ScratchDirectory() {
    std::string strTemplate = (std::filesystem::temp_directory_path() / "ferro-scene-XXXXXX").string();
    std::vector<char> name(strTemplate.begin(), strTemplate.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_strPath = std::string(name.data()) + "/";
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code error;
    std::filesystem::remove_all(m_strPath, error);
}

}  // namespace fakescene

std::string ReadTempDirectory() { return g_strFakeTempDirectory; }
