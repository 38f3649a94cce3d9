// The scene's looping background music: CSceneWnd::StartMusic and StopMusic
// (declared with the window) over the audio library, and the one stream.
#pragma once

#include <windows.h>

// Handle of the playing MP3 stream; 0 when there is none.
extern DWORD g_hMusicStream;
