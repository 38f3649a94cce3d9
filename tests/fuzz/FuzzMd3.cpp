// libFuzzer target: any bytes as an MD3 file, loaded and drawn into the fake GL.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "assets/Md3Model.h"
#include "support/FakeGL.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/ferro-fuzz-md3-" + std::to_string(getpid());
    std::FILE* pFile = std::fopen(path.c_str(), "wb");
    if (pFile == nullptr) return 0;
    std::fwrite(data, 1, size, pFile);
    std::fclose(pFile);
    Md3Model model;
    model.Load(path.c_str());
    for (int nFrame : {0, 1, -1, 7}) {
        fakegl::Reset();
        model.Draw(nFrame);
    }
    return 0;
}
