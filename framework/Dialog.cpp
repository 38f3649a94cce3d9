#include "framework/Dialog.h"

#include "framework/DataExchange.h"
#include "framework/SystemLibrary.h"

#include <commctrl.h>

namespace {

// The dialog that RunModal is creating: the first message its dialog
// procedure sees routes the new window through the object.
thread_local CDialog* t_pDialogInit = nullptr;

}  // namespace

FERRO_BEGIN_MESSAGE_MAP(CDialog, CWnd)
    FERRO_ON_COMMAND(BN_CLICKED, IDOK, HandleOK)
    FERRO_ON_COMMAND(BN_CLICKED, IDCANCEL, HandleCancel)
FERRO_END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

INT_PTR CDialog::RunModal()
{
    // Templates may hold common controls (up-down controls and the like); the
    // library loads with the first dialog, never in the saver or the preview.
    static auto* const pInitCommonControlsEx =
        SystemLibraryFunction<BOOL WINAPI(const INITCOMMONCONTROLSEX*)>("comctl32.dll", "InitCommonControlsEx");
    INITCOMMONCONTROLSEX icc{ sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES };
    if (pInitCommonControlsEx != nullptr)
        pInitCommonControlsEx(&icc);

    HWND hParent = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
    t_pDialogInit = this;
    const INT_PTR result = ::DialogBoxParamA(::GetModuleHandleA(nullptr),
                                             MAKEINTRESOURCEA(m_nIDTemplate), hParent,
                                             &CDialog::DialogProc, 0);
    t_pDialogInit = nullptr;
    return result;
}

void CDialog::EndDialog(int nResult)
{
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    ExchangeSetupData(&dx);
    return dx.Failed() ? FALSE : TRUE;
}

void CDialog::ExchangeSetupData(CDataExchange*)
{
}

BOOL CDialog::InitSetupDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

LRESULT CDialog::HandleOK(WPARAM, LPARAM)
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
    return 0;
}

LRESULT CDialog::HandleCancel(WPARAM, LPARAM)
{
    EndDialog(IDCANCEL);
    return 0;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hDlg, UINT nMessage, WPARAM, LPARAM)
{
    CWnd* pWnd = FromHandlePermanent(hDlg);
    if (pWnd == nullptr && t_pDialogInit != nullptr) {
        // From here on every message goes through the object; its default
        // handling is the dialog manager's procedure, which calls back here.
        CDialog* pDialog = t_pDialogInit;
        t_pDialogInit = nullptr;
        if (pDialog->SubclassWindow(hDlg))
            pWnd = pDialog;
    }
    if (nMessage != WM_INITDIALOG)
        return FALSE;
    auto* pDialog = dynamic_cast<CDialog*>(pWnd);
    return pDialog != nullptr ? pDialog->InitSetupDialog() : TRUE;
}
