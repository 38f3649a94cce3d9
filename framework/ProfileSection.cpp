#include "framework/ProfileSection.h"

namespace {

const REGSAM kAccess = KEY_READ | KEY_WRITE;  // 0x2001F

// Creates or opens pszName below hParent, then closes hParent.
HKEY DescendAndClose(HKEY hParent, const char* pszName)
{
    if (hParent == nullptr)
        return nullptr;
    HKEY hChild = nullptr;
    DWORD disposition = 0;
    const LONG rc = ::RegCreateKeyExA(hParent, pszName, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      kAccess, nullptr, &hChild, &disposition);
    ::RegCloseKey(hParent);
    return rc == ERROR_SUCCESS ? hChild : nullptr;
}

}  // namespace

ProfileSection::ProfileSection(const char* pszVendor, const char* pszApplication,
                               const char* pszSection)
{
    HKEY hSoftware = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "software", 0, kAccess, &hSoftware) != ERROR_SUCCESS)
        return;
    HKEY hVendor = DescendAndClose(hSoftware, pszVendor);
    HKEY hApplication = DescendAndClose(hVendor, pszApplication);
    m_hKey = DescendAndClose(hApplication, pszSection);
}

ProfileSection::~ProfileSection()
{
    if (m_hKey != nullptr)
        ::RegCloseKey(m_hKey);
}
