#include "shell/SaverMode.h"

#include <cstdlib>

bool MatchSwitch(const char* pszArgument, const char* pszWord)
{
    if (*pszArgument == '-' || *pszArgument == '/')
        ++pszArgument;  // one only: "//s" is not "s"
    return ::lstrcmpiA(pszArgument, pszWord) == 0;
}

SaverMode ChooseSaverMode(int argc, const char* const* argv)
{
    if (argc < 2)
        return SaverMode::Setup;
    if (MatchSwitch(argv[1], "c"))
        return SaverMode::Setup;
    if (MatchSwitch(argv[1], "p"))
        return SaverMode::Preview;
    if (MatchSwitch(argv[1], "s"))
        return SaverMode::Saver;
    return SaverMode::Setup;
}

HWND ParseWindowHandle(const char* pszArgument)
{
    if (pszArgument == nullptr)
        return nullptr;
    const long long value = std::strtoll(pszArgument, nullptr, 10);
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(value));
}
