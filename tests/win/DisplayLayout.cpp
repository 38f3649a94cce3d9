// "DisplayLayout DEVICE X Y WIDTH HEIGHT" places a monitor as the display
// settings do (0 x 0 detaches it), so every top-level window gets
// WM_DISPLAYCHANGE. Exit code 0 when the change was applied.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 6)
        return std::printf("usage: DisplayLayout DEVICE X Y WIDTH HEIGHT\n"), 2;
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    mode.dmFields = DM_POSITION | DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmPosition = { std::atoi(argv[2]), std::atoi(argv[3]) };
    mode.dmPelsWidth = static_cast<DWORD>(std::atoi(argv[4]));
    mode.dmPelsHeight = static_cast<DWORD>(std::atoi(argv[5]));
    const LONG stored = ::ChangeDisplaySettingsExA(argv[1], &mode, nullptr, CDS_UPDATEREGISTRY | CDS_NORESET, nullptr);
    const LONG applied = ::ChangeDisplaySettingsExA(nullptr, nullptr, nullptr, 0, nullptr);
    std::printf("stored %ld, applied %ld\n", stored, applied);
    return stored == DISP_CHANGE_SUCCESSFUL && applied == DISP_CHANGE_SUCCESSFUL ? 0 : 1;
}
