// The scene's file paths in their 260-character buffer: a path that fits is
// used whole; a longer one is never cut short (the loaders would open another
// file) nor written past the buffer; an unknown directory gives none.
#include <gtest/gtest.h>

#include <cstring>

#include "scene/TempFilePath.h"

TEST(TempFilePath, FitsIn259CharactersOrIsRefused) {
    const struct { std::size_t nDirectory; bool bFits; } kCases[] = {{0, false}, {241, true}, {242, false}, {4000, false}};
    for (const auto& c : kCases) {
        const std::string strDirectory(c.nDirectory, 'd');
        char szPath[kTempFilePathChars];
        std::memset(szPath, 'x', sizeof szPath);
        EXPECT_EQ(BuildTempFilePath(szPath, strDirectory, "TarsolinResMD3.MD3"), c.bFits) << c.nDirectory;
        EXPECT_EQ(std::string(szPath), c.bFits ? strDirectory + "TarsolinResMD3.MD3" : "") << c.nDirectory;
    }
}

