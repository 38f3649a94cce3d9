// Writes past the end of a heap block on purpose. Under the test session's
// heap checking this must print err:heap: proof that the checking is on
// before any test takes its silence as a clean bill (test wine.heap_canary).
#include <windows.h>

int main()
{
    HANDLE hHeap = ::GetProcessHeap();
    auto* pBlock = static_cast<volatile char*>(::HeapAlloc(hHeap, 0, 16));
    for (int i = 0; pBlock != nullptr && i < 24; ++i)
        pBlock[i] = 'x';
    ::HeapFree(hHeap, 0, const_cast<char*>(pBlock));
    return 0;
}
