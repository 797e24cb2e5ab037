// What a start of the program asks for on its command line, and the same request as text for
// the instance that is already running.
//   CommandAction, CommandTarget, AutoCoverMode, Command
//   ParseCommandArguments, ParseCommandLine   the arguments, or the whole line as Windows gives it
//   CommandToText, CommandFromText            the compact form sent with WM_COPYDATA
//   CommandLineUsage                          the syntax, for a message box
#pragma once
#include <windows.h>
#include <optional>
#include <vector>
#include "framework/Strings.h"

enum class CommandAction
{
    None,
    Show,
    Close,
    Toggle,
    Exit,
    AutoCover,
    Help
};
// The displays that Show, Close or Toggle act on.
enum class CommandTarget
{
    Ticked,
    All,
    List
};
enum class AutoCoverMode
{
    On,
    Off,
    Pause
};

// Members without a default value take {} so that designated initializers may leave them out.
struct Command
{
    CommandAction Action = CommandAction::None;
    CommandTarget Target = CommandTarget::All;
    std::vector<int> Displays{};                   // for List: display numbers, ascending, no repeats
    std::optional<BYTE> Opacity{};                 // 50-255; only with Show or Toggle
    std::optional<COLORREF> Color{};               // only with Show or Toggle
    AutoCoverMode AutoCover = AutoCoverMode::On;   // for the AutoCover action
    bool Minimized = false;

    friend bool operator==(const Command&, const Command&) = default;
};

// The arguments after the program name. On a mistake: FALSE and a short reason for the user,
// such as "Unknown option: --shw", and command untouched. Whether the displays exist is left to the caller.
BOOL ParseCommandArguments(const std::vector<CString>& args, Command& command, CString& error);
// The whole line, program name first, as GetCommandLineW gives it.
BOOL ParseCommandLine(LPCWSTR commandLine, Command& command, CString& error);

// Canonical options separated by spaces; CommandFromText reads it back.
CString CommandToText(const Command& command);
BOOL CommandFromText(const CString& text, Command& command);

LPCWSTR CommandLineUsage();
