// A window that owns a device context and an OpenGL context and shows the
// scene: it reads the five settings when constructed, sets up OpenGL and the
// scene when its window is created, repaints every 31 ms while the display is
// on and releases everything when its window is destroyed.
#pragma once

#include "framework/Wnd.h"

#include <string>

class CSceneWnd : public CWnd {
public:
    explicit CSceneWnd(int bAutoDelete);
    ~CSceneWnd() override;

    // The rectangle is in the parent's client coordinates, or in screen
    // coordinates without a parent. Nonzero when the window exists.
    virtual BOOL CreateSceneWindow(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParent);

    // Each only stores its argument; the next timer-driven paint uses it.
    void SetMotionBlur(int bMotionBlur) { m_bMotionBlur = bMotionBlur; }
    void SetOscillations(float fOscillations) { m_fOscillations = fOscillations; }
    void SetRevolutions(float fRevolutions) { m_fRevolutions = fRevolutions; }
    void SetMp3Path(const std::string& strMp3Path) { m_strMp3Path = strMp3Path; }
    void SetMusicEnabled(int bMusic) { m_bMusic = bMusic; }

    // The looping background music (see sound/SceneMusic.cpp).
    void StartMusic();
    void StopMusic();

    void HandleFinalDestroy() override;

    HDC m_hDC = nullptr;
    HGLRC m_hRC = nullptr;
    int m_bMotionBlur;
    float m_fRevolutions;
    float m_fOscillations;
    std::string m_strMp3Path;
    int m_bMusic;
    int m_bAutoDelete;
    HPOWERNOTIFY m_hPowerNotify = nullptr;  // the display's state changes
    BOOL m_bDisplayOff = FALSE;             // no frames while it is set

protected:
    LRESULT HandleCreate(WPARAM wParam, LPARAM lParam);
    LRESULT HandleSize(WPARAM wParam, LPARAM lParam);
    LRESULT HandleTimer(WPARAM wParam, LPARAM lParam);
    LRESULT HandlePaint(WPARAM wParam, LPARAM lParam);
    LRESULT HandleEraseBackground(WPARAM wParam, LPARAM lParam);
    LRESULT HandleDestroy(WPARAM wParam, LPARAM lParam);
    LRESULT HandlePowerBroadcast(WPARAM wParam, LPARAM lParam);

    FERRO_DECLARE_MESSAGE_MAP()
};

// The scene windows' class, registered by the first CreateSceneWindow.
extern LPCSTR g_lpszSceneWndClass;
