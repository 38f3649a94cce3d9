// libFuzzer target: any bytes as an embedded MD3 resource (how much of it
// extraction writes) and as an MD3 file, loaded and drawn at frames in and out
// of range.
#include <cstdlib>

#include "assets/Md3ExtractSize.h"
#include "assets/Md3Model.h"
#include "support/FakeSeams.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (Md3ExtractSize(data, size) > size) std::abort();
    static Md3Model model;  // one record across inputs: each load replaces the last
    model.Load(fakescene::WriteTestFile("input.md3", {data, data + size}).c_str());
    for (int nFrame : {0, 1, -1, 7}) model.Draw(nFrame);
    return 0;
}
