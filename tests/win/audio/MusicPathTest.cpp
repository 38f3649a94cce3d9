// What a music path may name, as the program opens it: only a file on a disk
// (a network share's file is one) is read, and whatever the path names learns
// at most who asks, so that a pipe's server cannot act as the user. Windows
// reports the bytes waiting in a pipe as its size where Wine fails, so the
// link routes the library's GetFileSizeEx here to answer as Windows does.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/FileByteSource.h"
#include "win/audio/OpenedFile.h"
#include "win/audio/ToneFile.h"

std::atomic<DWORD> g_nLastOpenFlags{0};
void RecordOpen(DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD nFlags, HANDLE) {
    g_nLastOpenFlags = nFlags;
}

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
// A pipe whose server, a thread of the test, writes its one client the bytes.
class PipeServer {
public:
    explicit PipeServer(std::vector<char> bytes) : m_bytes(std::move(bytes)) {
        m_strPath = "\\\\.\\pipe\\ferro-music-" + std::to_string(GetCurrentProcessId());
        m_hPipe = CreateNamedPipeA(m_strPath.c_str(), PIPE_ACCESS_OUTBOUND | FILE_FLAG_OVERLAPPED,
                                   PIPE_TYPE_BYTE | PIPE_REJECT_REMOTE_CLIENTS, 1, 1 << 20, 0, 0, nullptr);
        m_hQuit = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        if (m_hPipe != INVALID_HANDLE_VALUE && m_hQuit)
            m_hThread = CreateThread(nullptr, 0, Serve, this, 0, nullptr);
    }
    ~PipeServer() {
        if (m_hThread) {
            SetEvent(m_hQuit);
            WaitForSingleObject(m_hThread, 5000);
            CloseHandle(m_hThread);
        }
        if (m_hQuit) CloseHandle(m_hQuit);
        if (m_hPipe != INVALID_HANDLE_VALUE) CloseHandle(m_hPipe);
    }
    bool Serving() const { return m_hThread != nullptr; }
    const std::string& Path() const { return m_strPath; }

private:
    static DWORD WINAPI Serve(LPVOID pParam) {
        auto* pThis = static_cast<PipeServer*>(pParam);
        OVERLAPPED io{};
        io.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        if (pThis->Finish(ConnectNamedPipe(pThis->m_hPipe, &io), io) && ResetEvent(io.hEvent) &&
            pThis->Finish(WriteFile(pThis->m_hPipe, pThis->m_bytes.data(), DWORD(pThis->m_bytes.size()), nullptr, &io), io))
            WaitForSingleObject(pThis->m_hQuit, INFINITE);
        CloseHandle(io.hEvent);
        return 0;
    }
    // Waits for the I/O just begun (bDone: it is done already) or for the
    // request to quit; true when the I/O is done.
    bool Finish(BOOL bDone, OVERLAPPED& io) {
        if (bDone || GetLastError() == ERROR_PIPE_CONNECTED) return true;
        if (GetLastError() != ERROR_IO_PENDING) return false;
        const HANDLE waits[2] = {io.hEvent, m_hQuit};
        if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0) return true;
        CancelIo(m_hPipe);  // the I/O must end before io goes
        WaitForSingleObject(io.hEvent, 5000);
        return false;
    }

    std::vector<char> m_bytes;
    std::string m_strPath;
    HANDLE m_hPipe = INVALID_HANDLE_VALUE;
    HANDLE m_hQuit = nullptr;
    HANDLE m_hThread = nullptr;
};
}  // namespace

TEST(FileByteSource, ReadsOnlyDiskFilesAndLendsNoIdentity) {
    std::ifstream in(ToneNextToProgram(), std::ios::binary);
    PipeServer pipe(std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    ASSERT_TRUE(pipe.Serving());
    const struct { const char* pszWhat; std::string strPath; bool bOpens; } rows[] = {
        {"the tone beside the program", ToneNextToProgram(), true},
        {"a pipe whose server writes the tone", pipe.Path(), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszWhat);
        g_nLastOpenFlags = ~0u;  // never a result: it asks for every flag
        FileByteSource file;
        EXPECT_EQ(row.bOpens, file.Open(row.strPath.c_str(), 0, 0));
        EXPECT_EQ(DWORD(SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION),
                  g_nLastOpenFlags.load() & SECURITY_VALID_SQOS_FLAGS);
    }
}
