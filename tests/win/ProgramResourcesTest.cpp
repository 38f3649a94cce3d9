// The resources of the real Ferrovane.scr, which sits beside this program:
// what the system lists, what the windows and the dialog load, and the
// embedded model and skin under their language.
#include "res/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

std::string ScreenSaverPath()
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.find_last_of('\\') + 1) + "Ferrovane.scr";
}

class ProgramResources : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_hModule = ::LoadLibraryExA(ScreenSaverPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, m_hModule) << ScreenSaverPath();
    }
    void TearDown() override
    {
        if (m_hModule)
            ::FreeLibrary(m_hModule);
    }
    HMODULE m_hModule = nullptr;
};

TEST_F(ProgramResources, DescriptionIsStringOne)
{
    char text[128] = "0xdeadbeef";
    ASSERT_GT(::LoadStringA(m_hModule, IDS_DESCRIPTION, text, sizeof text), 0);
    EXPECT_STREQ("Ferrovane ScreenSaver", text);
}

TEST_F(ProgramResources, EmbeddedAssetsAreSpanishModernSort)
{
    const WORD lang = MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN);
    ASSERT_EQ(3082, lang);
    HRSRC model = ::FindResourceExA(m_hModule, "MD3", MAKEINTRESOURCEA(IDR_MODEL), lang);
    HRSRC skin = ::FindResourceExA(m_hModule, "TGA", MAKEINTRESOURCEA(IDR_SKIN), lang);
    ASSERT_NE(nullptr, model);
    ASSERT_NE(nullptr, skin);
    EXPECT_EQ(12306u, ::SizeofResource(m_hModule, skin));
    EXPECT_GT(::SizeofResource(m_hModule, model), 108u);
    // Looked up by name alone, as the program does.
    EXPECT_EQ(model, ::FindResourceA(m_hModule, "#144", "MD3"));
    EXPECT_EQ(skin, ::FindResourceA(m_hModule, "#143", "TGA"));
}

TEST_F(ProgramResources, CursorDialogAndIconExist)
{
    EXPECT_NE(nullptr, ::FindResourceA(m_hModule, MAKEINTRESOURCEA(IDC_BLANK), RT_GROUP_CURSOR));
    EXPECT_NE(nullptr, ::FindResourceA(m_hModule, MAKEINTRESOURCEA(IDD_SETUP), RT_DIALOG));
    EXPECT_NE(nullptr, ::FindResourceA(m_hModule, MAKEINTRESOURCEA(IDI_FERROVANE), RT_GROUP_ICON));
}

}  // namespace
