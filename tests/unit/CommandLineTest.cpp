// The command line: accepted forms, the text sent to a running instance, and the reason shown for each mistake.
#include <gtest/gtest.h>
#include <tuple>
#include "settings/CommandLine.h"

namespace {

using A = CommandAction;
using T = CommandTarget;

// The whole line goes through CommandLineToArgvW, as the program reads its own.
const CString Exe = L"\"C:\\Program Files\\Umbrafen\\Umbrafen.exe\" ";

// Each accepted form, the text it is sent to the running instance as, and that text read back; each mistake's reason.
TEST(CommandLine, AcceptedFormsRoundTripAndMistakesAreRejectedWithAReason)
{
    const std::tuple<LPCWSTR, Command, LPCWSTR> cases[] = {
        {L"--show", {.Action = A::Show, .Target = T::Ticked}, L"--show"},
        {L"--show \"3, 1,3\" --opacity 50 --color #0a0B0c",
         {.Action = A::Show, .Target = T::List, .Displays = {1, 3}, .Opacity = 50, .Color = RGB(0x0A, 0x0B, 0x0C)},
         L"--show 1,3 --opacity 50 --color 0A0B0C"},
        {L"--Close 12 --minimized", {.Action = A::Close, .Target = T::List, .Displays = {12}, .Minimized = true},
         L"--close 12 --minimized"},
        {L"--color FF8000 /TOGGLE all --opacity 255",
         {.Action = A::Toggle, .Target = T::All, .Opacity = 255, .Color = RGB(0xFF, 0x80, 0x00)},
         L"--toggle all --opacity 255 --color FF8000"},
        {L"-exit", {.Action = A::Exit}, L"--exit"},
        {L"--auto-cover PAUSE", {.Action = A::AutoCover, .AutoCover = AutoCoverMode::Pause}, L"--auto-cover pause"},
    };
    for (const auto& [args, expected, text] : cases)
    {
        SCOPED_TRACE(args);
        Command command{.Action = A::Exit}, back{.Action = A::Exit};
        CString error;
        ASSERT_TRUE(ParseCommandLine(Exe + args, command, error)) << error.GetString();
        EXPECT_TRUE(expected == command);
        EXPECT_STREQ(text, CommandToText(command));
        EXPECT_TRUE(CommandFromText(text, back) && expected == back);
    }
    const std::pair<LPCWSTR, LPCWSTR> mistakes[] = {
        {L"--shw", L"Unknown option: --shw"}, {L"--show 1 2", L"Unexpected value: 2"},
        {L"--toggle 1,,2", L"--toggle takes all or display numbers 1 to 99 separated by commas"},
        {L"--show --close", L"Only one of --show, --close, --toggle, --exit and --auto-cover may be given"},
        {L"--opacity 49 --show", L"--opacity must be 50 to 255"},
        {L"--show --opacity 99 /opacity 99", L"--opacity is given twice"},
        {L"--show --color 12345", L"--color must be six hex digits RRGGBB"},
        {L"--close --opacity 100", L"--opacity goes only with --show or --toggle"},
        {L"--auto-cover maybe", L"--auto-cover must be on, off or pause"},
        {L"--exit --minimized", L"--minimized cannot go with --exit"},
    };
    for (const auto& [args, reason] : mistakes)
    {
        Command command{.Action = A::Exit};
        CString error;
        EXPECT_FALSE(ParseCommandLine(Exe + args, command, error)) << args;
        EXPECT_STREQ(reason, error) << args;
    }
}

}   // namespace
