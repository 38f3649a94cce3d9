// One open section key of the application's registry profile:
// HKEY_CURRENT_USER\software\<vendor>\<application>\<section>.
// The chain is opened afresh for every single read or write, creating missing
// keys on the way; each intermediate key is closed as soon as the next one is
// open, and the section key when this object goes.
#pragma once

#include <windows.h>

class ProfileSection {
public:
    ProfileSection(const char* pszVendor, const char* pszApplication, const char* pszSection);
    ~ProfileSection();

    ProfileSection(const ProfileSection&) = delete;
    ProfileSection& operator=(const ProfileSection&) = delete;

    // Null when any step of the chain failed.
    HKEY Key() const { return m_hKey; }

private:
    HKEY m_hKey = nullptr;
};
