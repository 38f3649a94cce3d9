// assetgen OUTDIR: writes the program's embedded assets (ferrovane.md3,
// ferrovane.tga, blank.cur, ferrovane.ico) into OUTDIR. The output depends on
// nothing but this code, so res/ can be checked against a fresh run.
#include <cstdio>
#include <string>
#include <vector>

#include "ChromeSkin.h"
#include "CursorIcon.h"
#include "Md3Writer.h"
#include "VaneMesh.h"

namespace {

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* pFile = std::fopen(path.c_str(), "wb");
    if (pFile == nullptr) return false;
    bool bOk = std::fwrite(bytes.data(), 1, bytes.size(), pFile) == bytes.size();
    return std::fclose(pFile) == 0 && bOk;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: assetgen OUTDIR\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    std::vector<Md3SurfaceSource> surfaces = {{"vane", BuildVaneBody()}, {"counterweight", BuildCounterweight()}};
    struct Output {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } outputs[] = {
        {"ferrovane.md3", WriteMd3("models/ferrovane/ferrovane.md3", surfaces)},
        {"ferrovane.tga", WriteChromeSkin()},
        {"blank.cur", WriteBlankCursor()},
        {"ferrovane.ico", WriteVaneIcon()},
    };
    for (const Output& output : outputs)
        if (!WriteFile(dir + output.name, output.bytes)) {
            std::fprintf(stderr, "assetgen: cannot write %s%s\n", dir.c_str(), output.name);
            return 1;
        }
    return 0;
}
