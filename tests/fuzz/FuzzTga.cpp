// libFuzzer target: any bytes as a TGA file, loaded and uploaded, with and
// without keeping the pixels, into GL that reads every byte it is promised.
#include "assets/TgaTexture.h"
#include "support/FakeSeams.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TgaTexture skin;  // one record across inputs, as the program has
    skin.LoadAndUpload(fakescene::WriteTestFile("input.tga", {data, data + size}).c_str(), 1, int(size & 1), 0);
    skin.Upload();
    return 0;
}
