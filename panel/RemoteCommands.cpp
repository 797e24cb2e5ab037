// The control panel's side of the command line: the command of its own start, and the
// commands later starts send it with WM_COPYDATA. Covers asked for here show no prompt.
#include "panel/RemoteCommands.h"
#include "colorwin/OpenWindowRegistry.h"
#include "help/CommandLineHelp.h"
#include "panel/UmbrafenDlg.h"
#include "settings/AppSettings.h"

namespace {

// A forwarding start waits 15 s for its answer: the covers get 10 of them.
constexpr DWORD CommandInPlaceLimitMs = 10000;

}   // namespace

// Last step of the panel's initialisation.
void CUmbrafenDlg::PrepareRemoteCommands()
{
    // A running instance with uiAccess would otherwise not hear from an ordinary start.
    ::ChangeWindowMessageFilterEx(m_hWnd, WM_COPYDATA, MSGFLT_ALLOW, nullptr);
    // Posted, so that the command meets the panel as it is shown, not half built.
    if (m_startCommand != Command()) PostMessage(WM_START_COMMAND, 0, 0);
}

LRESULT CUmbrafenDlg::OnStartCommand(WPARAM, LPARAM)
{
    CoverTickets done;
    const LRESULT result = ApplyCommand(m_startCommand, done);
    if (result == CommandApplied) return 0;
    // The same mistake sent to a running instance would change nothing: neither does this start.
    m_bStartCommandFailed = true;
    ShowCommandLineMistake(m_hWnd, NoSuchDisplayText(static_cast<int>(-result)), CommandLineUsage());
    PostMessage(WM_CLOSE, 0, 0);
    return 0;
}

LRESULT CUmbrafenDlg::OnCopyData(WPARAM, LPARAM lParam)
{
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (!data || data->dwData != CommandCopyDataId || !data->lpData) return CommandNotUnderstood;
    const CString text(static_cast<LPCWSTR>(data->lpData), static_cast<int>(data->cbData / sizeof(WCHAR)));
    Command command;
    if (!CommandFromText(text, command) || command.Action == CommandAction::Help) return CommandNotUnderstood;
    CoverTickets done;
    const LRESULT result = ApplyCommand(command, done);
    if (result != CommandApplied) return result;
    // The start ends once the covers are as it asked. Commands other starts send meanwhile are
    // handled inside this wait, each on the covers as they are at that moment.
    return WaitUntilInPlace(done, CommandInPlaceLimitMs) ? CommandApplied : CommandNotInPlace;
}

LRESULT CUmbrafenDlg::ApplyCommand(const Command& command, CoverTickets& done)
{
    // Every display named must be listed before anything changes.
    std::vector<int> rows;
    if (command.Target == CommandTarget::List)
    {
        for (int display : command.Displays)
        {
            const int row = FindDisplayRow(display);
            if (row < 0) return -display;
            rows.push_back(row);
        }
    }
    else
    {
        for (int row = 0; row < m_list.GetItemCount(); ++row) rows.push_back(row);
    }

    if (command.Opacity)
    {
        m_slider.SetPos(*command.Opacity);
        AppSettings.Alpha = *command.Opacity;
    }
    if (command.Color) AppSettings.WindowColor = *command.Color;

    switch (command.Action)
    {
    case CommandAction::Show:
        done = command.Target == CommandTarget::Ticked ? ShowTickedRows() : CoverRows(rows);
        break;
    case CommandAction::Close:
        done.closed = command.Target == CommandTarget::All ? BeginCloseAllColoredWindows() : UncoverRows(rows).closed;
        break;
    case CommandAction::Toggle: done = ToggleRows(rows); break;
    case CommandAction::Exit:
        if (!m_bClosing) EndForExit();
        break;
    case CommandAction::AutoCover: SetAutoCoverMode(command.AutoCover); break;
    case CommandAction::None:
    case CommandAction::Help: break;
    }
    if (command.Minimized) MinimizePanel();
    MarkSettingsChanged();   // ticks, opacity and colour it may have set
    return CommandApplied;
}

// As Show Window(s) does, the ticked rows replace whatever is up; with none ticked nothing changes.
// The old covers go while the new ones come up: nothing here waits, so no other command can
// be handled half way through this one.
CoverTickets CUmbrafenDlg::ShowTickedRows()
{
    const std::vector<int> ticked = TickedRows();
    if (ticked.empty()) return {};
    CoverTickets done{{}, BeginCloseAllColoredWindows()};
    done += CoverRows(ticked);
    return done;
}

namespace {

// A box of the panel's own, or one of its boxes' boxes.
BOOL CALLBACK CancelOwnBox(HWND hWnd, LPARAM panel)
{
    if (hWnd != reinterpret_cast<HWND>(panel) && ::IsWindowVisible(hWnd) &&
        ::GetAncestor(hWnd, GA_ROOTOWNER) == reinterpret_cast<HWND>(panel))
        ::PostMessageW(hWnd, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

}   // namespace

// --exit must end the instance even while one of its boxes waits for an answer nobody gives:
// the boxes are cancelled, and nothing they held back may start covers any more.
void CUmbrafenDlg::EndForExit()
{
    m_bClosing = true;
    ::EndMenu();
    ::EnumThreadWindows(::GetCurrentThreadId(), CancelOwnBox, reinterpret_cast<LPARAM>(m_hWnd));
    PostMessage(WM_CLOSE, 0, 0);
}

void CUmbrafenDlg::MinimizePanel()
{
    ShowWindow(SW_MINIMIZE);
}
