// libFuzzer target: any bytes as a TGA file, loaded and uploaded into the fake GL.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "assets/TgaTexture.h"
#include "support/FakeGL.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/ferro-fuzz-tga-" + std::to_string(getpid());
    std::FILE* pFile = std::fopen(path.c_str(), "wb");
    if (pFile == nullptr) return 0;
    std::fwrite(data, 1, size, pFile);
    std::fclose(pFile);
    static TgaTexture skin;  // one record across inputs, as the program has
    fakegl::Reset();
    skin.LoadAndUpload(path.c_str(), 1, static_cast<int>(size & 1), 0);
    skin.Upload();
    return 0;
}
