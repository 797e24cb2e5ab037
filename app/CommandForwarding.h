// A start with a command on its line while another instance runs: the command goes to that
// instance's control panel, and this start ends with the outcome as its exit code.
//   FindRunningPanel   the running instance's panel, found as the single-instance rule finds it
//   ClaimOrForward     becomes the instance, or hands the command over
#pragma once
#include <windows.h>
#include "settings/CommandLine.h"

// Exit codes of a start that ends early.
constexpr int ExitOk = 0;
constexpr int ExitNotDelivered = 1;   // the running instance did not answer in time
constexpr int ExitBadCommand = 2;     // a mistake on the line; a box has said what

HWND FindRunningPanel();
// TRUE when this start holds the instance mutex and no other panel runs: it opens its own.
// Otherwise exitCode tells how the running instance took the command.
BOOL ClaimOrForward(const Command& command, int& exitCode);
