// Handing a start's command line to the instance that already runs, over WM_COPYDATA.
#include "app/CommandForwarding.h"
#include "app/UmbrafenApp.h"
#include "framework/Scoped.h"
#include "help/CommandLineHelp.h"
#include "panel/RemoteCommands.h"

namespace {

// The running instance's close sequence, its settings store and its covers' threads running out.
constexpr DWORD InstanceEndLimitMs = 20000;

BOOL CALLBACK FindPanelProc(HWND hwnd, LPARAM lParam)
{
    if (!IsRunningInstance(hwnd)) return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hwnd;
    return FALSE;
}

// Otherwise the user would see nothing at all and wonder why Umbrafen does not open.
int ReportNotAnswering()
{
    const LPCWSTR name = AfxGetModuleState()->m_lpszCurrentAppName;
    CString text;
    text.Format(L"%s is already running but does not answer; it may be showing a message.\n\n"
                L"Answer that message, or end %s in Task Manager, and try again.",
                name, name);
    AppMessageBox(nullptr, text, MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
    return ExitNotDelivered;
}

int SendToPanel(HWND panel, const Command& command)
{
    CString text = CommandToText(command);
    COPYDATASTRUCT data{};
    data.dwData = CommandCopyDataId;
    data.cbData = static_cast<DWORD>(text.GetLength() * sizeof(WCHAR));
    data.lpData = const_cast<LPWSTR>(static_cast<LPCWSTR>(text));
    // --exit answers once the instance has ended; opened first, its process cannot end unseen.
    DWORD pid = 0;
    ::GetWindowThreadProcessId(panel, &pid);
    const CScopedHandle process(command.Action == CommandAction::Exit ? ::OpenProcess(SYNCHRONIZE, FALSE, pid) : nullptr);
    DWORD_PTR answer = 0;
    const BOOL answered = ::SendMessageTimeoutW(panel, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL,
                                                InstanceAnswerLimitMs, &answer);
    const LRESULT result = static_cast<LRESULT>(answer);
    int code = ExitOk;
    // A panel gone meanwhile belonged to an instance that was ending anyway.
    if (!answered) code = ::IsWindow(panel) ? ReportNotAnswering() : ExitNotDelivered;
    else if (result == CommandNotInPlace) code = ExitNotDelivered;
    else if (result != CommandApplied)
    {
        ShowCommandLineMistake(nullptr, result < 0 ? NoSuchDisplayText(static_cast<int>(-result))
                                                   : CString(L"The running Umbrafen did not understand the command"),
                               CommandLineUsage());
        code = ExitBadCommand;
    }
    else if (process && ::WaitForSingleObject(process.Get(), InstanceEndLimitMs) != WAIT_OBJECT_0) code = ExitNotDelivered;
    return code;
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
    const InstanceClaim claim = ClaimSingleInstance(running);
    // Holding the mutex is not enough: an instance that could not create it still has its panel.
    if (claim == InstanceClaim::Claimed && (running = FindRunningPanel()) == nullptr) return TRUE;
    if (claim == InstanceClaim::NoAnswer) exitCode = ReportNotAnswering();
    else if (command != Command()) exitCode = SendToPanel(running, command);
    else FindRunningInstanceProc(running, 0);   // a plain start brings the running panel forward
    return FALSE;
}
