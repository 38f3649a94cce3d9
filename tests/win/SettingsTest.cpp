// The five settings against Wine's real registry.
#include "TestApp.h"
#include "shell/SaverSettings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const char kConfig[] = "Software\\Vantrel\\Ferrovane ScreenSaver\\Config";

void DeleteSettings()
{
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vantrel");
}

struct RawValue {
    DWORD type = 0xdeadbeef;
    std::vector<unsigned char> data;
    bool present = false;
};

RawValue ReadRaw(const char* pszName)
{
    RawValue v;
    HKEY hKey;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kConfig, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return v;
    DWORD size = 0;
    if (::RegQueryValueExA(hKey, pszName, nullptr, &v.type, nullptr, &size) == ERROR_SUCCESS) {
        v.data.assign(size, 0xcc);
        v.present = ::RegQueryValueExA(hKey, pszName, nullptr, &v.type, v.data.data(), &size)
                    == ERROR_SUCCESS;
        v.data.resize(size);
    }
    ::RegCloseKey(hKey);
    return v;
}

void WriteRaw(const char* pszName, DWORD type, const void* data, DWORD size)
{
    HKEY hKey;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, kConfig, 0, nullptr, 0,
                                               KEY_WRITE, nullptr, &hKey, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(hKey, pszName, 0, type,
                                              static_cast<const BYTE*>(data), size));
    ::RegCloseKey(hKey);
}

void WriteDword(const char* pszName, DWORD value)
{
    WriteRaw(pszName, REG_DWORD, &value, sizeof value);
}

DWORD StoredDword(const char* pszName)
{
    const RawValue v = ReadRaw(pszName);
    EXPECT_TRUE(v.present) << pszName;
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), v.type) << pszName;
    DWORD value = 0xdeadbeef;
    if (v.data.size() == sizeof value)
        std::memcpy(&value, v.data.data(), sizeof value);
    return value;
}

class Settings : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettings(); }
    void TearDown() override { DeleteSettings(); }
};

TEST_F(Settings, FreshUserGetsDefaultsAndAnEmptyKeyChain)
{
    const SaverSettings s = LoadSettings();
    EXPECT_EQ(1, s.m_bMotionBlur);
    EXPECT_EQ(1.0f, s.m_fOscillations);
    EXPECT_EQ(0.6f, s.m_fRevolutions);
    EXPECT_EQ("", s.m_strMp3Path);
    EXPECT_EQ(1, s.m_bMusic);

    HKEY hKey;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CURRENT_USER, kConfig, 0, KEY_READ, &hKey));
    DWORD values = 0xdeadbeef, subkeys = 0xdeadbeef;
    ASSERT_EQ(ERROR_SUCCESS, ::RegQueryInfoKeyA(hKey, nullptr, nullptr, nullptr, &subkeys, nullptr,
                                                nullptr, &values, nullptr, nullptr, nullptr, nullptr));
    ::RegCloseKey(hKey);
    EXPECT_EQ(0u, values);
    EXPECT_EQ(0u, subkeys);
}

TEST_F(Settings, SavesEveryValueWithItsTypeAndForm)
{
    SaverSettings s;
    s.m_bMotionBlur = 0;
    s.m_fOscillations = 0.7f;
    s.m_fRevolutions = 2.5f;
    s.m_strMp3Path = "C:\\music\\loop.mp3";
    s.m_bMusic = 0;
    SaveSettings(s);

    EXPECT_EQ(0u, StoredDword("Motion Blur"));
    EXPECT_EQ(7u, StoredDword("OPS"));
    EXPECT_EQ(25u, StoredDword("RPS"));
    EXPECT_EQ(0u, StoredDword("bMusic"));
    const RawValue path = ReadRaw("MP3 Sound");
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), path.type);
    EXPECT_EQ(std::string("C:\\music\\loop.mp3", 18), std::string(path.data.begin(), path.data.end()));

    const SaverSettings back = LoadSettings();
    EXPECT_EQ(0.7f, back.m_fOscillations);
    EXPECT_EQ(2.5f, back.m_fRevolutions);
    EXPECT_EQ(s.m_strMp3Path, back.m_strMp3Path);
}

TEST_F(Settings, EmptyPathIsOneZeroByte)
{
    SaverSettings s;
    SaveSettings(s);
    const RawValue path = ReadRaw("MP3 Sound");
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), path.type);
    EXPECT_EQ(std::vector<unsigned char>{ 0 }, path.data);
    EXPECT_EQ("", LoadSettings().m_strMp3Path);
}

TEST_F(Settings, EveryCountSurvivesLoadAndSaveCycles)
{
    for (DWORD count = 0; count <= 100; ++count) {
        WriteDword("OPS", count);
        WriteDword("RPS", 100 - count);
        for (int cycle = 0; cycle < 3; ++cycle)
            SaveSettings(LoadSettings());
        EXPECT_EQ(count, StoredDword("OPS"));
        EXPECT_EQ(100 - count, StoredDword("RPS"));
    }
}

TEST_F(Settings, CountsAreUnsignedAndUnlimited)
{
    WriteDword("OPS", 4294967295u);
    WriteDword("RPS", 0);
    const SaverSettings s = LoadSettings();
    EXPECT_EQ(429496736.0f, s.m_fOscillations);
    EXPECT_EQ(0.0f, s.m_fRevolutions);
    WriteDword("OPS", 1000);
    EXPECT_EQ(100.0f, LoadSettings().m_fOscillations);
}

TEST_F(Settings, FlagsLoadUnchanged)
{
    WriteDword("Motion Blur", 5);
    WriteDword("bMusic", 0xFFFFFFFF);
    const SaverSettings s = LoadSettings();
    EXPECT_EQ(5, s.m_bMotionBlur);
    EXPECT_EQ(-1, s.m_bMusic);
    SaveSettings(s);
    EXPECT_EQ(5u, StoredDword("Motion Blur"));
    EXPECT_EQ(0xFFFFFFFFu, StoredDword("bMusic"));
}

TEST_F(Settings, IntegersReadAnyTypeOfFourBytesOrFewer)
{
    const unsigned char four[4] = { 3, 0, 0, 0 };
    WriteRaw("OPS", REG_BINARY, four, sizeof four);
    const unsigned char eight[8] = { 1, 2, 3, 4, 5, 6, 7, 8 };
    WriteRaw("RPS", REG_BINARY, eight, sizeof eight);  // too long: the default
    const SaverSettings s = LoadSettings();
    EXPECT_EQ(0.3f, s.m_fOscillations);
    EXPECT_EQ(0.6f, s.m_fRevolutions);
}

TEST_F(Settings, OddPathValuesLoadAsNoPath)
{
    WriteDword("MP3 Sound", 1234);
    EXPECT_EQ("", LoadSettings().m_strMp3Path);

    const unsigned char blob[3] = { 'a', 'b', 'c' };
    WriteRaw("MP3 Sound", REG_BINARY, blob, sizeof blob);
    EXPECT_EQ("", LoadSettings().m_strMp3Path);

    // Text stored without its terminating zero still ends where the data ends.
    WriteRaw("MP3 Sound", REG_SZ, "C:\\a.mp3", 8);
    EXPECT_EQ("C:\\a.mp3", LoadSettings().m_strMp3Path);

    // A huge value is read whole, without a length limit or an overflow.
    const std::string huge(200000, 'x');
    WriteRaw("MP3 Sound", REG_SZ, huge.c_str(), static_cast<DWORD>(huge.size() + 1));
    EXPECT_EQ(huge, LoadSettings().m_strMp3Path);

    // The path ends at the first zero byte.
    WriteRaw("MP3 Sound", REG_SZ, "ab\0cd", 6);
    EXPECT_EQ("ab", LoadSettings().m_strMp3Path);
}

}  // namespace
