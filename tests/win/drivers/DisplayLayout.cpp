// "DisplayLayout DEVICE X Y WIDTH HEIGHT..." places monitors as the display
// settings do (0 x 0 detaches one), so every top-level window gets
// WM_DISPLAYCHANGE. Exit code 0 when the change was applied.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 6 || (argc - 1) % 5 != 0)
        return std::printf("usage: DisplayLayout DEVICE X Y WIDTH HEIGHT...\n"), 2;
    LONG stored = DISP_CHANGE_SUCCESSFUL;
    for (int i = 1; i < argc && stored == DISP_CHANGE_SUCCESSFUL; i += 5) {
        DEVMODEA mode{};
        mode.dmSize = sizeof mode;
        mode.dmFields = DM_POSITION | DM_PELSWIDTH | DM_PELSHEIGHT;
        mode.dmPosition = { std::atoi(argv[i + 1]), std::atoi(argv[i + 2]) };
        mode.dmPelsWidth = static_cast<DWORD>(std::atoi(argv[i + 3]));
        mode.dmPelsHeight = static_cast<DWORD>(std::atoi(argv[i + 4]));
        stored = ::ChangeDisplaySettingsExA(argv[i], &mode, nullptr, CDS_UPDATEREGISTRY | CDS_NORESET, nullptr);
    }
    const LONG applied = ::ChangeDisplaySettingsExA(nullptr, nullptr, nullptr, 0, nullptr);
    std::printf("stored %ld, applied %ld\n", stored, applied);
    return stored == DISP_CHANGE_SUCCESSFUL && applied == DISP_CHANGE_SUCCESSFUL ? 0 : 1;
}
