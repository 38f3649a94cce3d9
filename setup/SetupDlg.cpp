#include "setup/SetupDlg.h"

#include "framework/DataExchange.h"
#include "framework/FileDialog.h"
#include "framework/PaintDC.h"
#include "res/resource.h"
#include "shell/SaverSettings.h"

#include <commctrl.h>

#include <cstdio>

namespace {

// The up-down controls count tenths of a turn or swing per second.
constexpr short kMaxTenths = 100;

void ShowRate(HWND hBuddy, float fRate)
{
    char text[64];
    std::snprintf(text, sizeof text, "%1.5f", static_cast<double>(fRate));
    ::SetWindowTextA(hBuddy, text);
}

}  // namespace

FERRO_BEGIN_MESSAGE_MAP(CSetupDlg, CDialog)
    FERRO_ON_MESSAGE(WM_SYSCOMMAND, HandleSysCommand)
    FERRO_ON_MESSAGE(WM_PAINT, HandlePaint)
    FERRO_ON_MESSAGE(WM_QUERYDRAGICON, HandleQueryDragIcon)
    FERRO_ON_MESSAGE(WM_VSCROLL, HandleVScroll)
    FERRO_ON_COMMAND(BN_CLICKED, IDC_MOTION_BLUR, HandleMotionBlurClicked)
    FERRO_ON_COMMAND(BN_CLICKED, IDC_BROWSE, HandleBrowseClicked)
    FERRO_ON_COMMAND(BN_CLICKED, IDC_MUSIC, HandleMusicClicked)
FERRO_END_MESSAGE_MAP()

CSetupDlg::CSetupDlg(CWnd* pParent)
    : CDialog(IDD_SETUP, pParent),
      m_bMotionBlur(0),
      m_fOscillations(0.0f),
      m_fRevolutions(0.0f),
      m_bMusic(0),
      m_hIcon(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_FERROVANE))),
      m_wndPreview(0)
{
}

CSetupDlg::~CSetupDlg() = default;

void CSetupDlg::ExchangeSetupData(CDataExchange* pDX)
{
    CDialog::ExchangeSetupData(pDX);
    ExchangeControl(pDX, IDC_SPIN_REVOLUTIONS, m_spinRevolutions);
    ExchangeControl(pDX, IDC_SPIN_OSCILLATIONS, m_spinOscillations);
    ExchangeCheck(pDX, IDC_MOTION_BLUR, m_bMotionBlur);
    ExchangeFloat(pDX, IDC_OSCILLATIONS, m_fOscillations);
    ExchangeFloat(pDX, IDC_REVOLUTIONS, m_fRevolutions);
    ExchangeText(pDX, IDC_MP3_PATH, m_strMp3Path);
    ExchangeCheck(pDX, IDC_MUSIC, m_bMusic);
}

BOOL CSetupDlg::InitSetupDialog()
{
    CDialog::InitSetupDialog();

    m_spinOscillations.SetRange(0, kMaxTenths);
    m_spinOscillations.SetPos(static_cast<int>(TenthsFromRate(m_fOscillations)));
    m_spinRevolutions.SetRange(0, kMaxTenths);
    m_spinRevolutions.SetPos(static_cast<int>(TenthsFromRate(m_fRevolutions)));

    CreatePreview();
    CenterWindow();
    return TRUE;  // the system focuses the first tab stop
}

// The preview covers the hidden placeholder exactly.
void CSetupDlg::CreatePreview()
{
    RECT rect{};
    ::GetWindowRect(GetDlgItemHandle(IDC_PREVIEW), &rect);
    POINT corners[2] = { { rect.left, rect.top }, { rect.right, rect.bottom } };
    ::ScreenToClient(m_hWnd, &corners[0]);
    ::ScreenToClient(m_hWnd, &corners[1]);
    rect = RECT{ corners[0].x, corners[0].y, corners[1].x, corners[1].y };
    m_wndPreview.CreateSceneWindow(0, WS_CHILD | WS_VISIBLE, rect, this);
}

LRESULT CSetupDlg::HandleSysCommand(WPARAM, LPARAM)
{
    return Default();
}

LRESULT CSetupDlg::HandlePaint(WPARAM, LPARAM)
{
    if (!IsIconic())
        return Default();
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC), 0);
    RECT rect;
    GetClientRect(&rect);
    const int x = (rect.right - rect.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (rect.bottom - rect.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc.m_hDC, x, y, m_hIcon);
    return 0;
}

LRESULT CSetupDlg::HandleQueryDragIcon(WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>(m_hIcon);
}

// The up-down controls do not write their boxes (no UDS_SETBUDDYINT): the
// box and the preview follow the new position here, the members only on OK.
LRESULT CSetupDlg::HandleVScroll(WPARAM wParam, LPARAM lParam)
{
    const UINT nCode = LOWORD(wParam);
    const UINT nPos = HIWORD(wParam);
    if (nCode == SB_ENDSCROLL)
        return 0;
    const int nID = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
    if (nID == IDC_SPIN_OSCILLATIONS) {
        const float fValue = RateFromTenths(nPos);
        ShowRate(m_spinOscillations.GetBuddy(), fValue);
        m_wndPreview.SetOscillations(fValue);
    } else if (nID == IDC_SPIN_REVOLUTIONS) {
        const float fValue = RateFromTenths(nPos);
        ShowRate(m_spinRevolutions.GetBuddy(), fValue);
        m_wndPreview.SetRevolutions(fValue);
    }
    return Default();
}

LRESULT CSetupDlg::HandleMotionBlurClicked(WPARAM, LPARAM)
{
    m_bMotionBlur = m_bMotionBlur == 0 ? 1 : 0;
    m_wndPreview.SetMotionBlur(m_bMotionBlur);
    return 0;
}

LRESULT CSetupDlg::HandleMusicClicked(WPARAM, LPARAM)
{
    m_bMusic = m_bMusic == 0 ? 1 : 0;
    m_wndPreview.SetMusicEnabled(m_bMusic);
    if (m_bMusic != 0)
        m_wndPreview.StartMusic();
    else
        m_wndPreview.StopMusic();
    return 0;
}

LRESULT CSetupDlg::HandleBrowseClicked(WPARAM, LPARAM)
{
    CFileDialog dlg(nullptr, "SoMe MP3z", 0, "MP3 File (*.mp3)|*.mp3");
    if (dlg.RunModal() != IDOK)
        return 0;
    m_strMp3Path = dlg.GetPathName();
    ::SetDlgItemTextA(m_hWnd, IDC_MP3_PATH, m_strMp3Path.c_str());
    if (m_bMusic == 1) {
        m_wndPreview.SetMp3Path(m_strMp3Path);
        m_wndPreview.StopMusic();
        m_wndPreview.StartMusic();
    }
    return 0;
}
