#include "sound/SceneMusic.h"

#include <cstdio>

#include "audio/AudioLibrary.h"
#include "scene/SceneWnd.h"

DWORD g_hMusicStream = 0;

namespace {
// The audio library takes the path as a C string of at most 503 characters.
constexpr size_t kMusicPathSize = 504;
}

void CSceneWnd::StartMusic() {
    if (!BASS_Init(-1, 44100, 0, m_hWnd)) {
        g_hMusicStream = 0;
        return;
    }
    char szPath[kMusicPathSize];
    const int nLength = std::snprintf(szPath, sizeof szPath, "%s", m_strMp3Path.c_str());
    BASS_Start();
    // A longer path would arrive cut short and could name another file: play nothing.
    if (nLength < 0 || size_t(nLength) >= sizeof szPath) {
        g_hMusicStream = 0;
        return;
    }
    g_hMusicStream = BASS_StreamCreateFile(FALSE, szPath, 0, 0, 0);
    if (g_hMusicStream != 0)
        BASS_StreamPlay(g_hMusicStream, FALSE, BASS_SAMPLE_LOOP);
}

void CSceneWnd::StopMusic() {
    if (g_hMusicStream == 0)
        return;
    BASS_StreamFree(g_hMusicStream);
    BASS_Stop();
    BASS_Free();
    g_hMusicStream = 0;
}
