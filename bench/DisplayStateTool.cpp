// "DisplayStateTool off|on|dimmed" tells the running saver's scene window what
// Windows tells it when the console display changes state (Wine itself never
// does): WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, with a
// POWERBROADCAST_SETTING for GUID_CONSOLE_DISPLAY_STATE in the saver's own
// memory. Exit code 0 when a window took it.
#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <cstring>

namespace {

// The scene window: top-most, visible, of one of the saver's classes, and no
// black cover (a tool window).
BOOL CALLBACK FindScene(HWND hWnd, LPARAM lParam)
{
    char szClass[64] = "";
    ::GetClassNameA(hWnd, szClass, sizeof szClass);
    const LONG_PTR exStyle = ::GetWindowLongPtrA(hWnd, GWL_EXSTYLE);
    if (std::strncmp(szClass, "Ferrovane:", 10) != 0 || !::IsWindowVisible(hWnd) ||
        !(exStyle & WS_EX_TOPMOST) || (exStyle & WS_EX_TOOLWINDOW))
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* const names[] = { "off", "on", "dimmed" };
    DWORD dwState = 0;
    while (argc == 2 && dwState < 3 && std::strcmp(argv[1], names[dwState]) != 0)
        ++dwState;
    if (argc != 2 || dwState == 3)
        return std::printf("usage: DisplayStateTool off|on|dimmed\n"), 2;
    HWND hScene = nullptr;
    ::EnumWindows(&FindScene, reinterpret_cast<LPARAM>(&hScene));
    DWORD dwProcess = 0;
    ::GetWindowThreadProcessId(hScene, &dwProcess);
    HANDLE hProcess = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, dwProcess);
    if (hScene == nullptr || hProcess == nullptr)
        return std::printf("no saver window\n"), 1;
    BYTE setting[offsetof(POWERBROADCAST_SETTING, Data) + sizeof(DWORD)];
    auto* pSetting = reinterpret_cast<POWERBROADCAST_SETTING*>(setting);
    pSetting->PowerSetting = GUID_CONSOLE_DISPLAY_STATE;
    pSetting->DataLength = sizeof dwState;
    std::memcpy(setting + offsetof(POWERBROADCAST_SETTING, Data), &dwState, sizeof dwState);
    // Left in the saver for the rest of its life: a few bytes, and the window
    // may still read them after the call below gives up waiting.
    void* pRemote = ::VirtualAllocEx(hProcess, nullptr, sizeof setting, MEM_COMMIT, PAGE_READWRITE);
    DWORD_PTR result = 0;
    const bool bSent = pRemote != nullptr &&
        ::WriteProcessMemory(hProcess, pRemote, setting, sizeof setting, nullptr) &&
        ::SendMessageTimeoutA(hScene, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
                              reinterpret_cast<LPARAM>(pRemote), SMTO_ABORTIFHUNG, 5000, &result);
    ::CloseHandle(hProcess);
    std::printf("display %s: %s\n", names[dwState], bSent && result == TRUE ? "taken" : "not taken");
    return bSent && result == TRUE ? 0 : 1;
}
