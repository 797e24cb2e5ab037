// The DPI a window is drawn for, and our dialogs drawn afresh for the DPI of the monitor they are on.
//   GetSystemDpi, GetWindowDpi, WindowSizeForClient   DPI calls of newer Windows 10 builds, looked up at
//                                                     run time, with the system DPI where they are missing
//   CDialogDpi   a dialog's controls and font as created, scaled for the DPI it is drawn for now
#pragma once
#include <windows.h>
#include <vector>
#include "framework/Gdi.h"

UINT GetSystemDpi();
UINT GetWindowDpi(HWND hWnd);
// The window size for a client area at a DPI: frame and caption take that DPI's size.
SIZE WindowSizeForClient(HWND hWnd, SIZE client, UINT dpi);

class CDialogDpi
{
public:
    // The dialog manager's own re-scaling lays the controls out from the template again, which would
    // undo a resized dialog's layout: our templates scale themselves, the same on every system.
    static void TakeOver(HWND hDlg);
    // At WM_INITDIALOG: the DPI, the controls' rectangles and the font the dialog was created with.
    void Init(HWND hDlg);
    UINT Dpi() const { return m_dpi; }
    // Every control at its rectangle as created, scaled to dpi, and the dialog's font made for it.
    void ScaleTo(HWND hDlg, UINT dpi);
    // A control's rectangle, or the client size, as created and scaled to the present DPI.
    RECT ScaledRect(HWND hControl) const;
    SIZE ScaledClient() const;

private:
    int Scale(int value) const { return ::MulDiv(value, m_dpi, m_createdDpi); }
    struct Control
    {
        HWND hWnd;
        RECT rc;   // client coordinates of the dialog
    };
    std::vector<Control> m_controls;
    SIZE m_createdClient{};
    UINT m_createdDpi = 96, m_dpi = 96;
    HFONT m_hCreatedFont = nullptr;   // the dialog manager's, which it deletes
    CFont m_font;                     // ours, for another DPI than the created one
};
