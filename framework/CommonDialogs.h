// The platform's common dialogs as framework dialogs: CCommonDialog hooks the
// dialog so that a derived class's OnInitDialog and message map apply to it;
// CColorDialog and CFontDialog fill in and run ChooseColorW / ChooseFontW.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include "framework/Dialog.h"

class CCommonDialog : public CDialog
{
public:
    explicit CCommonDialog(CWnd* pParentWnd) : CDialog(0, pParentWnd) {}

    static const CRuntimeClass* GetThisClass();

protected:
    // The platform's dialog does its own OK and Cancel.
    void OnOK() override { Default(); }
    void OnCancel() override { Default(); }
    HWND OwnerWindow() const;
    // Hook of every common dialog: binds the object at WM_INITDIALOG.
    static UINT_PTR CALLBACK HookProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp);
    static CCommonDialog*& Starting();
};

class CColorDialog : public CCommonDialog
{
public:
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);

    static const CRuntimeClass* GetThisClass();
    INT_PTR DoModal() override;
    COLORREF GetColor() const { return m_cc.rgbResult; }

private:
    CHOOSECOLORW m_cc{};
};

class CFontDialog : public CCommonDialog
{
public:
    // The dialog opens with *lplfInitial selected and writes the choice back into it.
    explicit CFontDialog(LPLOGFONTW lplfInitial = nullptr, DWORD dwFlags = CF_EFFECTS | CF_SCREENFONTS,
                         HDC hdcPrinter = nullptr, CWnd* pParentWnd = nullptr);

    static const CRuntimeClass* GetThisClass();

    INT_PTR DoModal() override;
    int GetSize() const { return m_cf.iPointSize; }   // the chosen size in tenths of a point

private:
    CHOOSEFONTW m_cf{};
    LOGFONTW m_lf{};
    LPLOGFONTW m_lplfInitial;
};
