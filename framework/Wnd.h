// A window object: one static window procedure maps each window handle to its
// object, which dispatches through its message map; whatever the map does not
// consume reaches the default handling (the window's original procedure).
#pragma once

#include "framework/CmdTarget.h"

class CWnd : public CCmdTarget {
public:
    CWnd();
    // Destroys the window first if it still exists; by then only this class's
    // handling runs, so a class that tears down on WM_DESTROY destroys the
    // window in its own destructor.
    ~CWnd() override;

    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Creates the window and attaches it to this object before its first
    // message. On failure the final-destroy hook has already run, so an
    // auto-deleting object is gone: the caller must not touch it again.
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName,
                  DWORD dwStyle, int x, int y, int nWidth, int nHeight,
                  HWND hWndParent, HMENU hMenu, LPVOID lpParam = nullptr);
    BOOL DestroyWindow();

    // Routes an existing window (made by the system, such as a dialog) through
    // this object; its old procedure becomes the default handling.
    BOOL SubclassWindow(HWND hWnd);
    // Only binds a handle to the object, for wrappers of controls.
    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    HWND Detach();

    static CWnd* FromHandlePermanent(HWND hWnd);

    // Registers (once) a class with a made-up name unique in the process and
    // answers that name; the string lives as long as the process.
    static LPCSTR RegisterWndClass(UINT nClassStyle, HCURSOR hCursor,
                                   HBRUSH hbrBackground, HICON hIcon);

    BOOL PostMessage(UINT nMessage, WPARAM wParam = 0, LPARAM lParam = 0) const;
    LRESULT SendMessage(UINT nMessage, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void GetClientRect(RECT* pRect) const;
    void GetWindowRect(RECT* pRect) const;
    CWnd* GetDlgItem(int nID) const;
    HWND GetDlgItemHandle(int nID) const;
    // Centres the window over its owner, or in its monitor's work area.
    void CenterWindow(HWND hAlternateOwner = nullptr);
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }

    // The message this thread is handling, to the default handling.
    LRESULT Default();

    // Runs after the window's last message, and also when creation fails
    // before the window exists. When the last message comes while a handler
    // of this object is still running (a modal loop inside WM_CREATE, say),
    // it runs once the outermost handler has returned, so no handler ever
    // runs on a deleted object; m_hWnd is already null by then.
    virtual void HandleFinalDestroy() {}

    virtual LRESULT WindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam);

    static LRESULT CALLBACK StaticWindowProc(HWND hWnd, UINT nMessage,
                                             WPARAM wParam, LPARAM lParam);

protected:
    FERRO_DECLARE_MESSAGE_MAP()

    WNDPROC m_pfnSuper = nullptr;  // the default handling

private:
    void AttachPermanent(HWND hWnd, WNDPROC pfnSuper);
    void HandleLastMessage();

    int m_nDispatchDepth = 0;  // handlers of this object now running
    bool m_bFinalDestroyPending = false;
};
