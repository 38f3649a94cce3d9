// The shell's choices: the mode from the command line as the system passes
// it, and the five settings against Wine's real registry, odd values included.
#include "shell/SaverMode.h"
#include "shell/SaverSettings.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

TEST(SaverMode, SwitchTable)
{
    const struct { std::vector<const char*> args; SaverMode expected; } table[] = {
        { {}, SaverMode::Setup },          { { "c" }, SaverMode::Setup },
        { { "/c" }, SaverMode::Setup },    { { "-C" }, SaverMode::Setup },
        { { "/c:1234" }, SaverMode::Setup }, { { "s" }, SaverMode::Saver },
        { { "/S" }, SaverMode::Saver },    { { "-s" }, SaverMode::Saver },
        { { "//s" }, SaverMode::Setup },   { { "--s" }, SaverMode::Setup },
        { { "/s", "extra" }, SaverMode::Saver }, { { "/p", "1234" }, SaverMode::Preview },
        { { "-P" }, SaverMode::Preview },  { { "/a" }, SaverMode::Setup },
        { { "" }, SaverMode::Setup },      { { "/" }, SaverMode::Setup },
        { { "saver" }, SaverMode::Setup },
    };
    for (const auto& row : table) {
        std::vector<const char*> argv{ "Ferrovane.scr" };
        argv.insert(argv.end(), row.args.begin(), row.args.end());
        EXPECT_EQ(static_cast<int>(row.expected),
                  static_cast<int>(ChooseSaverMode(static_cast<int>(argv.size()), argv.data())))
            << (row.args.empty() ? "(none)" : row.args[0]);
    }
    const struct { const char* text; INT_PTR handle; } handles[] = {
        { "1234", 1234 }, { "1234xyz", 1234 }, { "  +1234", 1234 }, { "-5", -5 },
        { "xyz", 0 }, { "", 0 }, { nullptr, 0 },
    };
    for (const auto& row : handles)
        EXPECT_EQ(reinterpret_cast<HWND>(row.handle), ParseWindowHandle(row.text))
            << (row.text ? row.text : "(null)");
}

TEST(Settings, OddStoredValuesLoadAsTheyShould)
{
    const std::string huge(200000, 'x');
    const struct { const char* name; DWORD type; std::string data; const char* loaded; } table[] = {
        // (the defaults, and Motion Blur 5 unticked: e2e.setup)
        { "OPS", REG_DWORD, std::string("\xff\xff\xff\xff", 4), "4.29497e+08" },  // unsigned, unlimited
        { "OPS", REG_BINARY, std::string("\3\0\0\0", 4), "0.3" },  // any type of four bytes
        { "OPS", REG_BINARY, std::string("\3\0", 2), "0.3" },      // or fewer
        { "OPS", REG_BINARY, std::string(8, '\1'), "1" },          // longer: the default
        { "bMusic", REG_DWORD, std::string("\xff\xff\xff\xff", 4), "-1" },
        { "MP3 Sound", REG_BINARY, "C:\\a.mp3", "C:\\a.mp3" },          // any type: the bytes
        { "MP3 Sound", REG_MULTI_SZ, std::string("C:\\a.mp3\0\0", 10), "C:\\a.mp3" },
        { "MP3 Sound", REG_SZ, "C:\\a.mp3", "C:\\a.mp3" },         // no terminating zero
        { "MP3 Sound", REG_SZ, std::string("ab\0cd", 6), "ab" },   // ends at the first zero
        { "MP3 Sound", REG_SZ, huge + '\0', huge.c_str() },       // no length limit
    };
    for (const auto& row : table) {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vantrel");
        ::RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Vantrel\\Ferrovane ScreenSaver\\Config", row.name, row.type,
                          row.data.data(), DWORD(row.data.size()));
        const SaverSettings s = LoadSettings();
        const std::string name = row.name;
        std::ostringstream loaded;
        if (name == "OPS") loaded << s.m_fOscillations;
        if (name == "bMusic") loaded << s.m_bMusic;
        if (name == "MP3 Sound") loaded << s.m_strMp3Path;
        EXPECT_EQ(row.loaded, loaded.str()) << name << " type " << row.type << " " << row.data.size() << " bytes";
    }
    // Saving (its types and forms: e2e.setup) keeps every count of tenths.
    for (unsigned int count = 0; count <= 100000; ++count)
        ASSERT_EQ(count, TenthsFromRate(RateFromTenths(count)));
}

}  // namespace
