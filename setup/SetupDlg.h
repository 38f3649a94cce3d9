// The setup dialog: the five settings with a live preview that follows every
// change at once. The registry is written by the caller, after OK only.
#pragma once

#include "framework/Dialog.h"
#include "framework/SpinButtonCtrl.h"
#include "scene/SceneWnd.h"

#include <string>

class CSetupDlg : public CDialog {
public:
    explicit CSetupDlg(CWnd* pParent);
    ~CSetupDlg() override;

    CSpinButtonCtrl m_spinRevolutions;
    CSpinButtonCtrl m_spinOscillations;
    int m_bMotionBlur;
    float m_fOscillations;
    float m_fRevolutions;
    std::string m_strMp3Path;
    int m_bMusic;
    HICON m_hIcon;
    CSceneWnd m_wndPreview;  // lives and dies with the dialog object

protected:
    void ExchangeSetupData(CDataExchange* pDX) override;
    BOOL InitSetupDialog() override;

    LRESULT HandleSysCommand(WPARAM wParam, LPARAM lParam);
    LRESULT HandlePaint(WPARAM wParam, LPARAM lParam);
    LRESULT HandleQueryDragIcon(WPARAM wParam, LPARAM lParam);
    LRESULT HandleVScroll(WPARAM wParam, LPARAM lParam);
    LRESULT HandleMotionBlurClicked(WPARAM wParam, LPARAM lParam);
    LRESULT HandleBrowseClicked(WPARAM wParam, LPARAM lParam);
    LRESULT HandleMusicClicked(WPARAM wParam, LPARAM lParam);

    FERRO_DECLARE_MESSAGE_MAP()

private:
    void CreatePreview();
};
