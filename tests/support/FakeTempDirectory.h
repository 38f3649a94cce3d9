// A settable stand-in for the temporary directory in native tests, and a
// scratch directory that tests point it at.
#pragma once

#include <string>

namespace fakescene {

// What ReadTempDirectory() returns from now on; "" stands for a system that
// cannot report one.
void SetTempDirectory(const std::string& strDirectory);

// A fresh, empty directory under the system's temporary directory, removed
// with everything in it when the object goes. Path() ends with '/'.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};

}  // namespace fakescene
