// What a music path may name, as the program opens it: only a file on a disk
// (a network share's file is one) is read, and whatever the path names learns
// at most who asks, so that a pipe's server cannot act as the user. Windows
// reports the bytes waiting in a pipe as its size where Wine fails, so the
// link routes the library's GetFileSizeEx here to answer as Windows does.
#include <windows.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <vector>

#include "audio/FileByteSource.h"
#include "win/TestPack.h"

static std::atomic<DWORD> g_nLastOpenFlags{0};
// The link's wrap of CreateFileW (PlayerFailureTest.cpp) hands this every
// call's arguments after the name.
void RecordOpen(DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD nFlags, HANDLE) { g_nLastOpenFlags = nFlags; }

extern "C" {
extern decltype(&GetFileSizeEx) __real___imp_GetFileSizeEx;
// For a pipe: the bytes its server has written, once some have come (5 s at most).
decltype(&GetFileSizeEx) __wrap___imp_GetFileSizeEx = [](HANDLE h, PLARGE_INTEGER pSize) -> BOOL {
    if (GetFileType(h) != FILE_TYPE_PIPE) return __real___imp_GetFileSizeEx(h, pSize);
    DWORD nWaiting = 0;
    for (int i = 0; i < 250 && PeekNamedPipe(h, nullptr, 0, nullptr, &nWaiting, nullptr) && nWaiting == 0; ++i)
        Sleep(20);
    pSize->QuadPart = nWaiting;
    return TRUE;
};
}

namespace {
// A pipe whose server, a thread of the test, writes its first client the bytes.
struct PipeServer {
    ~PipeServer() {
        CancelSynchronousIo(hThread);  // still waiting for a client
        WaitForSingleObject(hThread, 5000);
        CloseHandle(hThread);
        CloseHandle(hPipe);
    }
    static DWORD WINAPI Serve(LPVOID pParam) {
        auto& s = *static_cast<PipeServer*>(pParam);
        DWORD n = 0;
        if (ConnectNamedPipe(s.hPipe, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED)
            WriteFile(s.hPipe, s.bytes.data(), DWORD(s.bytes.size()), &n, nullptr);
        return 0;
    }
    std::vector<char> bytes;
    std::string strPath = "\\\\.\\pipe\\ferro-music-" + std::to_string(GetCurrentProcessId());
    HANDLE hPipe = CreateNamedPipeA(strPath.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_REJECT_REMOTE_CLIENTS,
                                    1, 1 << 20, 0, 0, nullptr);
    HANDLE hThread = CreateThread(nullptr, 0, Serve, this, 0, nullptr);
};
}  // namespace

TEST(FileByteSource, ReadsNoPipeAndLendsNoIdentity) {
    std::ifstream in(ToneNextToProgram(), std::ios::binary);
    PipeServer pipe{ std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()) };
    ASSERT_TRUE(pipe.hPipe != INVALID_HANDLE_VALUE && pipe.hThread);
    g_nLastOpenFlags = ~0u;  // never a result: it asks for every flag
    FileByteSource file;
    EXPECT_FALSE(file.Open(pipe.strPath.c_str(), 0, 0)) << "a pipe whose server writes the tone";
    EXPECT_EQ(DWORD(SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION), g_nLastOpenFlags.load() & SECURITY_VALID_SQOS_FLAGS);
}
