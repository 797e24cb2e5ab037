#include "panel/PreferencesDlg.h"
#include <commctrl.h>
#include "res/AppIcon.h"
#include "res/resource.h"
#include "settings/ValueText.h"

namespace {

// Slot order: ToggleAll, CloseAll, display 1..9, then the four that act under the pointer; the controls' ids follow it.
int HotkeyControl(int slot)
{
    if (slot >= ToggleHereSlot) return IDC_HOTKEY_TOGGLE_HERE + slot - ToggleHereSlot;
    return slot == 0 ? IDC_HOTKEY_TOGGLE_ALL : slot == 1 ? IDC_HOTKEY_CLOSE_ALL : IDC_HOTKEY_TOGGLE_1 + slot - 2;
}

CString SlotLabel(int slot)
{
    constexpr LPCWSTR labels[] = {L"Toggle all ticked", L"Close all",     L"Toggle here",
                                  L"Dim here",          L"Brighten here", L"Peek"};
    CString label = labels[slot < 2 ? slot : slot >= ToggleHereSlot ? slot - ToggleHereSlot + 2 : 0];
    if (slot >= 2 && slot < ToggleHereSlot) label.Format(L"Display %d", slot - 1);
    return label;
}

}   // namespace

CPreferencesDlg::CPreferencesDlg(const PreferencesRecord& prefs, std::vector<CString> problems, CWnd* pParent)
    : CDialogEx(IDD_PREFERENCES, pParent), m_prefs(prefs), m_problems(std::move(problems))
{}

IMPLEMENT_RUNTIME_CLASS(CPreferencesDlg, CDialogEx, false)

void CPreferencesDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Check(pDX, IDC_CHK_TRAY_ICON, m_prefs.TrayIcon);
    DDX_Check(pDX, IDC_CHK_MINIMIZE_TO_TRAY, m_prefs.MinimizeToTray);
    DDX_Check(pDX, IDC_CHK_START_WITH_WINDOWS, m_prefs.StartWithWindows);
    DDX_Check(pDX, IDC_CHK_EXCLUDE_FROM_CAPTURE, m_prefs.ExcludeFromCapture);
    DDX_Check(pDX, IDC_CHK_AUTO_COVER, m_prefs.AutoCoverEnabled);
    DDX_Text(pDX, IDC_EDIT_AUTO_COVER_SECONDS, m_seconds);
    DDX_Text(pDX, IDC_EDIT_AUTO_COVER_DISPLAYS, m_displays);
    DDX_Text(pDX, IDC_EDIT_AUTO_COVER_DIM_SECONDS, m_dimSeconds);
    DDX_Text(pDX, IDC_EDIT_AUTO_COVER_DIM_OPACITY, m_dimOpacity);
}

BOOL CPreferencesDlg::OnInitDialog()
{
    m_seconds.Format(L"%d", m_prefs.AutoCoverSeconds);
    m_displays = DisplayListText(m_prefs.AutoCoverDisplays);
    m_dimSeconds.Format(L"%d", m_prefs.AutoCoverDimSeconds);
    m_dimOpacity.Format(L"%d", m_prefs.AutoCoverDimOpacity);
    CDialogEx::OnInitDialog();

    SetSecondaryCaption(*this, L"Preferences");

    for (int slot = 0; slot < HotkeySlotCount; ++slot)
        ::SendDlgItemMessageW(m_hWnd, HotkeyControl(slot), HKM_SETHOTKEY, HotkeyToControl(HotkeyAt(m_prefs, slot)), 0);

    CString problems;
    for (const CString& line : m_problems) problems += (problems.IsEmpty() ? L"" : L"\r\n") + line;
    SetDlgItemText(IDC_EDIT_PREFERENCES_PROBLEMS, problems.IsEmpty() ? L"None." : problems);
    return TRUE;
}

BOOL CPreferencesDlg::Refuse(int nID, const CString& text)
{
    AppMessageBox(m_hWnd, text, MB_OK | MB_ICONWARNING);
    ::SetFocus(::GetDlgItem(m_hWnd, nID));
    return FALSE;
}

BOOL CPreferencesDlg::ReadHotkeys()
{
    PreferencesRecord read = m_prefs;
    for (int slot = 0; slot < HotkeySlotCount; ++slot)
    {
        const WORD value = static_cast<WORD>(::SendDlgItemMessageW(m_hWnd, HotkeyControl(slot), HKM_GETHOTKEY, 0, 0));
        Hotkey& hotkey = HotkeyAt(read, slot);
        // The control cannot show Win: an untouched Win+ hotkey from the file keeps it.
        if (value != HotkeyToControl(hotkey)) hotkey = HotkeyFromControl(value);
        if (!hotkey.IsSet()) continue;
        CString text;
        if (!IsUsableHotkey(hotkey))
        {
            text.Format(L"%s: this key cannot be a hotkey, or it needs Ctrl or Alt (only F1-F24 and Pause may "
                        L"go without).",
                        SlotLabel(slot));
            return Refuse(HotkeyControl(slot), text);
        }
        for (int earlier = 0; earlier < slot; ++earlier)
        {
            if (HotkeyAt(read, earlier) == hotkey)
            {
                text.Format(L"%s: %s is already the hotkey of %s.", SlotLabel(slot), HotkeyText(hotkey),
                            SlotLabel(earlier));
                return Refuse(HotkeyControl(slot), text);
            }
        }
    }
    m_prefs = read;
    return TRUE;
}

BOOL CPreferencesDlg::ReadAutoCover()
{
    int seconds = 0;
    if (!ParseDecimal(CString(m_seconds).Trim(), seconds) || seconds < MinAutoCoverSeconds ||
        seconds > MaxAutoCoverSeconds)
    {
        CString text;
        text.Format(L"Auto-cover waits %d to %d seconds.", MinAutoCoverSeconds, MaxAutoCoverSeconds);
        return Refuse(IDC_EDIT_AUTO_COVER_SECONDS, text);
    }
    std::vector<int> displays;
    if (!CString(m_displays).Trim().IsEmpty() && !ParseDisplayList(m_displays, displays))
    {
        CString text;
        text.Format(L"Displays: all, or display numbers 1 to %d separated by commas (such as 1,3).", MaxDisplayNumber);
        return Refuse(IDC_EDIT_AUTO_COVER_DISPLAYS, text);
    }
    int dimSeconds = 0, dimOpacity = 0;
    if (!ParseDecimal(CString(m_dimSeconds).Trim(), dimSeconds) ||
        (dimSeconds != 0 && (dimSeconds < MinAutoCoverSeconds || dimSeconds >= seconds)))
    {
        CString text;
        text.Format(L"Auto-cover dims first after 0 (never) or %d to %d seconds, less than the wait to cover.",
                    MinAutoCoverSeconds, seconds - 1);
        return Refuse(IDC_EDIT_AUTO_COVER_DIM_SECONDS, text);
    }
    if (!ParseDecimal(CString(m_dimOpacity).Trim(), dimOpacity) || dimOpacity < MinCoverOpacity ||
        dimOpacity > MaxCoverOpacity)
    {
        CString text;
        text.Format(L"The dim opacity is %d to %d.", MinCoverOpacity, MaxCoverOpacity);
        return Refuse(IDC_EDIT_AUTO_COVER_DIM_OPACITY, text);
    }
    m_prefs.AutoCoverSeconds = seconds;
    m_prefs.AutoCoverDisplays = displays;
    m_prefs.AutoCoverDimSeconds = dimSeconds;
    m_prefs.AutoCoverDimOpacity = dimOpacity;
    return TRUE;
}

void CPreferencesDlg::OnOK()
{
    UpdateData(TRUE);
    if (ReadHotkeys() && ReadAutoCover()) EndDialog(IDOK);
}
