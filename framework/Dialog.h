// Dialogs: CDataExchange with DDX_Control/DDX_Check/DDX_Text, CDialog (modal
// and modeless, from a template in the exe), CDialogEx (background colour),
// and the dynamic layout read from a template's AFX_DIALOG_LAYOUT resource.
// A dialog drawn for another DPI (ScaleToDpi, the layout's Rebase) is in DialogDpi.cpp.
#pragma once
#include <windows.h>
#include <vector>
#include "framework/DialogDpi.h"
#include "framework/Window.h"

class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    BOOL m_bSaveAndValidate;   // TRUE: controls to variables
    CWnd* m_pDlgWnd;
};

// Binds a control object to the dialog's control (once).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);

// Moves and sizes the controls as the dialog's client area changes, by the
// percentages of the template's layout resource.
class CDialogLayout
{
public:
    BOOL Load(HWND hDlg, UINT nIDTemplate);
    void Apply(HWND hDlg) const;
    // The controls' places as created, for the DPI the dialog is drawn for now.
    void Rebase(const CDialogDpi& dpi);

private:
    struct Item
    {
        HWND hWnd;
        RECT rcInitial;   // client coordinates of the dialog
        WORD moveX, moveY, sizeX, sizeY;
    };
    std::vector<Item> m_items;
    SIZE m_initialClient{};
};

class CDialog : public CWnd
{
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr)
        : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
    {}

    static const CRuntimeClass* GetThisClass();

    // Runs the dialog in a modal loop of its own and returns the result EndDialog gave, -1 when the
    // dialog could not be created. The dialog is shown once initialised, unless OnInitDialog showed,
    // minimised or hid it itself.
    virtual INT_PTR DoModal();
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override { return GetThisMessageMap(); }

    // The DPI the dialog is drawn for: its monitor's when created, then the last one it was scaled to.
    UINT GetDpi() const { return m_dpiScale.Dpi(); }
    // Draws the dialog for another DPI (fonts, controls, layout) and puts it at rc, or where it is,
    // never below its minimum tracking size. WM_DPICHANGED does this with the system's rectangle.
    void ScaleToDpi(UINT dpi, const RECT* rc);
    // The window's size as created, for the DPI it is drawn for now.
    SIZE GetCreatedSize() const;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    // Called by ScaleToDpi once the controls are scaled, before the window takes its new size: for what
    // a dialog holds in pixels itself (minimum size, column widths, fonts of its own).
    virtual void OnDpiScaled(UINT /*oldDpi*/) {}
    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;

private:
    static INT_PTR CALLBACK DlgProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp);
    BOOL HandleInitDialog();
    void RunModalLoop(HWND hWnd);
    CDialogLayout m_layout;
    CDialogDpi m_dpiScale;
    bool m_bScalesItself = false;   // one of our templates, not a system dialog
    bool m_bEndModal = false;
    INT_PTR m_nModalResult = -1;
};

class CDialogEx : public CDialog
{
public:
    using CDialog::CDialog;

    static const CRuntimeClass* GetThisClass();

    void SetBackgroundColor(COLORREF color, BOOL bRepaint = TRUE);

    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override { return GetThisMessageMap(); }

protected:
    LRESULT OnCtlColorDlg(WPARAM wp, LPARAM lp);

private:
    CBrush m_brBackground;
};
