// The command line: every accepted form and its round trip through the text sent to the
// running instance; every kind of mistake with the reason the user is shown.
#include <gtest/gtest.h>
#include "settings/CommandLine.h"

namespace {

using A = CommandAction;
using T = CommandTarget;

// Through CommandLineToArgvW, as the program reads its own line.
BOOL Parse(LPCWSTR args, Command& command, CString& error)
{
    return ParseCommandLine(CString(L"\"C:\\Program Files\\Umbrafen\\Umbrafen.exe\" ") + args, command, error);
}

TEST(CommandLine, AcceptedFormsAndTheirTextRoundTrip)
{
    const struct
    {
        LPCWSTR args;
        Command expected;
    } cases[] = {
        {L"", {}},
        {L"--minimized", {.Minimized = true}},
        {L"--show", {.Action = A::Show, .Target = T::Ticked}},
        {L"/SHOW All", {.Action = A::Show, .Target = T::All}},
        {L"-show 3,1,3", {.Action = A::Show, .Target = T::List, .Displays = {1, 3}}},
        {L"--show \"2, 4\" --opacity 50 --color #0a0B0c",
         {.Action = A::Show, .Target = T::List, .Displays = {2, 4}, .Opacity = 50, .Color = RGB(0x0A, 0x0B, 0x0C)}},
        {L"--Close 12 --minimized", {.Action = A::Close, .Target = T::List, .Displays = {12}, .Minimized = true}},
        {L"--color FF8000 /toggle --opacity 255",
         {.Action = A::Toggle, .Target = T::All, .Opacity = 255, .Color = RGB(0xFF, 0x80, 0x00)}},
        {L"-exit", {.Action = A::Exit}},
        {L"--auto-cover PAUSE --minimized",
         {.Action = A::AutoCover, .AutoCover = AutoCoverMode::Pause, .Minimized = true}},
        {L"--shw --help", {.Action = A::Help}},   // help wins over anything else
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.args);
        Command command{.Action = A::Exit};
        CString error(L"stale");
        ASSERT_TRUE(Parse(c.args, command, error)) << error.GetString();
        EXPECT_TRUE(error.IsEmpty());
        EXPECT_TRUE(c.expected == command);
        const CString text = CommandToText(command);
        Command back{.Action = A::Exit};
        EXPECT_TRUE(CommandFromText(text, back)) << text.GetString();
        EXPECT_TRUE(c.expected == back) << text.GetString();
    }
}

TEST(CommandLine, MistakesAreRejectedWithAReason)
{
    const struct
    {
        LPCWSTR args;
        LPCWSTR error;
    } cases[] = {
        {L"--shw", L"Unknown option: --shw"},
        {L"show", L"Unexpected value: show"},
        {L"--show 1 2", L"Unexpected value: 2"},
        {L"--toggle 1,,2", L"--toggle takes all or display numbers 1 to 99 separated by commas"},
        {L"--show 100", L"--show takes all or display numbers 1 to 99 separated by commas"},
        {L"--show --close", L"Only one of --show, --close, --toggle, --exit and --auto-cover may be given"},
        {L"--opacity 49 --show", L"--opacity must be 50 to 255"},
        {L"--show --opacity 256", L"--opacity must be 50 to 255"},
        {L"--show --opacity 1e2", L"--opacity must be 50 to 255"},
        {L"--show --opacity 99 /opacity 99", L"--opacity is given twice"},
        {L"--show --color 12345", L"--color must be six hex digits RRGGBB"},
        {L"--close --opacity 100", L"--opacity goes only with --show or --toggle"},
        {L"--auto-cover maybe", L"--auto-cover must be on, off or pause"},
        {L"--exit --minimized", L"--minimized cannot go with --exit"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.args);
        Command command{.Action = A::Exit};
        CString error;
        EXPECT_FALSE(Parse(c.args, command, error));
        EXPECT_STREQ(c.error, error);
        EXPECT_TRUE(command.Action == A::Exit);   // untouched
    }
}

}   // namespace
