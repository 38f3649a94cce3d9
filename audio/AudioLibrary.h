// The program's audio library: seven operations that play one MP3 file in a
// loop through the system's MPEG Layer-3 codec and waveOut. Statically linked.
#pragma once

#include <windows.h>

#include <cstdint>

typedef uint64_t QWORD;

// BASS_StreamPlay flag: start again from the beginning whenever the end is reached.
constexpr DWORD BASS_SAMPLE_LOOP = 4;

extern "C" {
// device -1 is the default output, opened only when a stream is created;
// nonzero for it.
// A second call while initialised succeeds and changes nothing.
BOOL BASS_Init(int device, DWORD freq, DWORD flags, HWND win);
BOOL BASS_Start();
// mem FALSE: file is a path (char string); TRUE: file points to length bytes.
// length 0 means up to the end of the file. Returns at once: the stream's own
// thread opens the file, the codec and the output, and a stream whose file
// cannot be read or holds no MP3 audio, or whose codec or output cannot be
// had, stays silent; one whose device goes plays on when it comes back.
// 0 for an empty path or no data, and while a stream freed earlier is still
// stuck in a call (freeing waits about two seconds for a stream's thread).
DWORD BASS_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length,
                            DWORD flags);
BOOL BASS_StreamPlay(DWORD handle, BOOL flush, DWORD flags);
BOOL BASS_StreamFree(DWORD handle);
BOOL BASS_Stop();
BOOL BASS_Free();
}
