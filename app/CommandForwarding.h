// A later start and the instance that already runs: the start brings its panel forward, or hands
// its command line to it and ends with the outcome as its exit code.
//   InstanceAnswerLimitMs  how long a start waits for the running instance at each step
//   FindRunningPanel       the running instance's panel, found as the single-instance rule finds it
//   ClaimOrForward         becomes the instance, or hands the command over
#pragma once
#include <windows.h>
#include "settings/CommandLine.h"

// Exit codes of a start that ends early.
constexpr int ExitOk = 0;
constexpr int ExitNotDelivered = 1;   // the running instance did not answer, or did not finish in time
constexpr int ExitBadCommand = 2;     // a mistake on the line; a box has said what

// Long enough for a panel that first closes covers (10 s at most) before it answers.
constexpr DWORD InstanceAnswerLimitMs = 15000;

HWND FindRunningPanel();
// TRUE when this start holds the instance mutex and no other panel runs: it opens its own.
// Otherwise exitCode tells how the running instance took the command; a running instance
// that does not answer is reported in a box.
BOOL ClaimOrForward(const Command& command, int& exitCode);
