// How much of an embedded MD3 resource extraction writes.
#include <gtest/gtest.h>

#include <cstring>

#include "assets/Md3ExtractSize.h"
#include "unit/assets/AssetFiles.h"

namespace {

Bytes WithEnd(std::size_t nSize, std::int32_t nEnd) {
    Bytes bytes(nSize, 0xab);
    if (nSize >= 108) std::memcpy(bytes.data() + 104, &nEnd, 4);
    return bytes;
}

TEST(Md3ExtractSize, EndOffsetWithinTheResourceIsWritten) {
    EXPECT_EQ(Md3ExtractSize(WithEnd(6000, 6000).data(), 6000), 6000u);
    EXPECT_EQ(Md3ExtractSize(WithEnd(6000, 500).data(), 6000), 500u);
    EXPECT_EQ(Md3ExtractSize(WithEnd(6000, 0).data(), 6000), 0u);
}

TEST(Md3ExtractSize, DamagedHeaderWritesTheWholeResourceAndReadsNoFurther) {
    EXPECT_EQ(Md3ExtractSize(WithEnd(6000, 6001).data(), 6000), 6000u);
    EXPECT_EQ(Md3ExtractSize(WithEnd(6000, -1).data(), 6000), 6000u);
    Bytes shortResource(107, 0xff);  // the sanitizer catches a read of byte 107 or beyond
    EXPECT_EQ(Md3ExtractSize(shortResource.data(), shortResource.size()), 107u);
    EXPECT_EQ(Md3ExtractSize(nullptr, 0), 0u);
}

TEST(Md3ExtractSize, EmbeddedModelIsWrittenWhole) {
    Bytes file = ReadWholeFile(ResPath("ferrovane.md3"));
    EXPECT_EQ(Md3ExtractSize(file.data(), file.size()), file.size());
}

}  // namespace
