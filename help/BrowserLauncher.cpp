#include "help/BrowserLauncher.h"
#include "res/AppIcon.h"
#include <shellapi.h>
#include <cstring>
#include "res/resource.h"

CDlgBrowserHelper::CDlgBrowserHelper(CWnd* pParent) : CDialogEx(IDD_BROWSER_HELPER, pParent) {}

IMPLEMENT_RUNTIME_CLASS(CDlgBrowserHelper, CDialogEx, false)

// clang-format off
BEGIN_MESSAGE_MAP(CDlgBrowserHelper, CDialogEx)
    Cmd<IDC_BTN_OPEN_IN_BROWSER, &T::OnOpenInBrowser>(),
    Cmd<IDC_BTN_COPY_URL, &T::OnCopyUrl>(),
    Msg<WM_HELP, &T::OnHelpInfo>(),
END_MESSAGE_MAP()
// clang-format on

void CDlgBrowserHelper::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_EDIT_URL, m_strURL);
}

BOOL CDlgBrowserHelper::OnInitDialog()
{
    CDialogEx::OnInitDialog();

    SetSecondaryCaption(*this, L"Browser Launcher");
    return TRUE;
}

void CDlgBrowserHelper::OnOpenInBrowser()
{
    ::ShellExecuteW(nullptr, nullptr, m_strURL, nullptr, nullptr, SW_SHOW);
    PostMessage(WM_CLOSE);
}

void CDlgBrowserHelper::OnCopyUrl()
{
    const CString url = m_strURL;
    const SIZE_T bytes = (static_cast<SIZE_T>(url.GetLength()) + 1) * sizeof(WCHAR);
    if (HGLOBAL hMem = ::GlobalAlloc(GPTR, bytes))
    {
        if (void* p = ::GlobalLock(hMem))
        {
            std::memcpy(p, url.GetString(), bytes);
            ::GlobalUnlock(hMem);
        }
        CWinThread* thread = AfxGetThread();
        HWND owner = thread && thread->m_pMainWnd ? thread->m_pMainWnd->m_hWnd : nullptr;
        bool taken = false;
        if (::OpenClipboard(owner))
        {
            if (::EmptyClipboard())
            {
                taken = ::SetClipboardData(CF_UNICODETEXT, hMem) != nullptr;
                if (!taken) AfxMessageBox(L"Unable to set Clipboard data", MB_OK);
            }
        }
        ::CloseClipboard();
        // Once taken, the block belongs to the clipboard; otherwise it would leak.
        if (!taken) ::GlobalFree(hMem);
    }
    PostMessage(WM_CLOSE);
}

BOOL CDlgBrowserHelper::OnHelpInfo(HELPINFO*)
{
    CString url;
    url.LoadString(IDS_PRODUCT_URL);
    ::ShellExecuteW(nullptr, nullptr, url, nullptr, nullptr, SW_SHOW);
    PostMessage(WM_CLOSE);
    return TRUE;
}

void ShowBrowserLauncher(CString url, CWnd* parent)
{
    CDlgBrowserHelper dlg(parent);
    dlg.m_strURL = url;
    dlg.DoModal();
}
