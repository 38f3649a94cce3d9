// The choice of mode from the command line, as the system starts a saver.
#include "shell/SaverMode.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct ModeCase {
    std::vector<const char*> args;  // without argv[0]
    SaverMode expected;
};

const ModeCase kCases[] = {
    { {}, SaverMode::Setup },
    { { "c" }, SaverMode::Setup },
    { { "/c" }, SaverMode::Setup },
    { { "-C" }, SaverMode::Setup },
    { { "/c:1234" }, SaverMode::Setup },
    { { "s" }, SaverMode::Saver },
    { { "/S" }, SaverMode::Saver },
    { { "-s" }, SaverMode::Saver },
    { { "//s" }, SaverMode::Setup },
    { { "--s" }, SaverMode::Setup },
    { { "/s", "extra", "words" }, SaverMode::Saver },
    { { "/p", "1234" }, SaverMode::Preview },
    { { "-P" }, SaverMode::Preview },
    { { "/a" }, SaverMode::Setup },
    { { "" }, SaverMode::Setup },
    { { "/" }, SaverMode::Setup },
    { { "saver" }, SaverMode::Setup },
};

TEST(SaverMode, SwitchTable)
{
    for (const ModeCase& c : kCases) {
        std::vector<const char*> argv{ "Ferrovane.scr" };
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const SaverMode got = ChooseSaverMode(static_cast<int>(argv.size()), argv.data());
        std::string shown;
        for (const char* a : c.args)
            shown += std::string("'") + a + "' ";
        EXPECT_EQ(static_cast<int>(c.expected), static_cast<int>(got)) << "arguments: " << shown;
    }
}

TEST(SaverMode, WindowHandleIsTheLeadingDecimalNumber)
{
    EXPECT_EQ(reinterpret_cast<HWND>(1234), ParseWindowHandle("1234"));
    EXPECT_EQ(reinterpret_cast<HWND>(1234), ParseWindowHandle("1234xyz"));
    EXPECT_EQ(reinterpret_cast<HWND>(1234), ParseWindowHandle("  +1234"));
    EXPECT_EQ(reinterpret_cast<HWND>(-5), ParseWindowHandle("-5"));
    EXPECT_EQ(nullptr, ParseWindowHandle("xyz"));
    EXPECT_EQ(nullptr, ParseWindowHandle(""));
    EXPECT_EQ(nullptr, ParseWindowHandle(nullptr));
}

}  // namespace
