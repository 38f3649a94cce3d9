// Loads each DLL named on its command line by name, as Windows searches for
// it (the program's own folder first): beside planted DLLs, the proof that
// they load and leave their marks. Exit code: how many did not load.
#include <windows.h>

int main(int argc, char** argv)
{
    int nFailed = 0;
    for (int i = 1; i < argc; ++i)
        nFailed += ::LoadLibraryA(argv[i]) == nullptr;
    return nFailed;
}
