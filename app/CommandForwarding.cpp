// Handing a start's command line to the instance that already runs, over WM_COPYDATA.
#include "app/CommandForwarding.h"
#include "app/UmbrafenApp.h"
#include "help/CommandLineHelp.h"
#include "panel/RemoteCommands.h"

namespace {

// Bounds how long a start waits for the running panel, which may first close covers on their
// own threads or sit in a modal box; sent messages still reach it there.
constexpr UINT ForwardTimeoutMs = 30000;

BOOL CALLBACK FindPanelProc(HWND hwnd, LPARAM lParam)
{
    if (!IsRunningInstance(hwnd)) return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hwnd;
    return FALSE;
}

int SendToPanel(HWND panel, const Command& command)
{
    CString text = CommandToText(command);
    COPYDATASTRUCT data{};
    data.dwData = CommandCopyDataId;
    data.cbData = static_cast<DWORD>(text.GetLength() * sizeof(WCHAR));
    data.lpData = const_cast<LPWSTR>(static_cast<LPCWSTR>(text));
    DWORD_PTR answer = 0;
    if (!panel || !::SendMessageTimeoutW(panel, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL,
                                         ForwardTimeoutMs, &answer))
        return ExitNotDelivered;
    const LRESULT result = static_cast<LRESULT>(answer);
    if (result == CommandApplied) return ExitOk;
    ShowCommandLineMistake(nullptr, result < 0 ? NoSuchDisplayText(static_cast<int>(-result))
                                               : CString(L"The running Umbrafen did not understand the command"));
    return ExitBadCommand;
}

}   // namespace

HWND FindRunningPanel()
{
    HWND panel = nullptr;
    ::EnumWindows(FindPanelProc, reinterpret_cast<LPARAM>(&panel));
    return panel;
}

BOOL ClaimOrForward(const Command& command, int& exitCode)
{
    HWND running = nullptr;
    // Holding the mutex is not enough: an instance that could not create it still has its panel.
    if (ClaimSingleInstance(&running) && (running = FindRunningPanel()) == nullptr) return TRUE;
    exitCode = SendToPanel(running, command);
    return FALSE;
}
