// The real Umbrafen.exe started with a command line: later starts hand theirs to the running instance and
// end with its outcome as their exit code.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include "tests/e2e/AppProcess.h"
#include "tests/support/PromptStore.h"

namespace {

// A first start with a command covers at once, with no start-up prompt. Good options from a later start are
// applied by the running instance in the order they come and end it with code 0 once in place; a mistake, found
// by the later start or only by the running instance, is named in the later start's own box, ends it with code 2
// and changes nothing.
TEST(CommandLine, LaterStartsDriveTheRunningInstanceOrNameTheirMistake)
{
    Bytes record(445);   // fresh, but Passthrough (offset 21) off
    record[0] = record[8] = 1, record[16] = 150;
    ASSERT_TRUE(WriteAllBytes(DataFilePath(), record));
    RestorePrompt(PassthroughOffPromptKey);
    UmbrafenProcess first(L"--show 2");
    ASSERT_TRUE(WaitFor([&] { return first.Covers() == 1; }, 10000)) << "the first start applies its own line at once";
    EXPECT_EQ(first.Dialog(false), nullptr) << "no prompt";
    ASSERT_NE(first.WaitForDialog(true), nullptr);
    auto later = [](const wchar_t* args, const wchar_t* mistake) {
        UmbrafenProcess start(args);
        HWND box = mistake ? start.WaitForDialog(false, 15000) : nullptr;
        EXPECT_NE(MessageBoxText(box).find(mistake ? mistake : L""), std::wstring::npos) << "box of " << args;
        if (box) Answer(box);
        return start.ExitCode(40000);
    };
    EXPECT_EQ(later(L"--show 1 --opacity 120 --color 00FF00", nullptr), 0u);
    // Code 0 only with the effect in place, so the covers are counted as soon as the start has ended; each
    // command acts on what the one before left: two toggles give back the first state.
    const std::pair<const wchar_t*, size_t> steps[] = {
        {L"--toggle 1", 1}, {L"--toggle 1", 2}, {L"--close 1", 1}, {L"--show 1", 2}, {L"--close 1", 1}};
    for (const auto& [args, covers] : steps)
    {
        EXPECT_EQ(later(args, nullptr), 0u) << args;
        EXPECT_EQ(first.Covers(), covers) << "right after " << args;
    }
    {
        UmbrafenProcess a(L"--toggle 1"), b(L"--toggle 1"), c(L"--toggle 1");
        for (UmbrafenProcess* start : {&a, &b, &c}) EXPECT_EQ(start->ExitCode(40000), 0u);
    }
    EXPECT_EQ(first.Covers(), 2u) << "three toggles at once leave display 1 covered";
    EXPECT_EQ(later(L"--shw 2", L"Unknown option: --shw"), 2u);
    EXPECT_EQ(later(L"--show 1,9 --opacity 200", L"no display 9"), 2u);   // only the running instance knows
    ::PostMessageW(first.Dialog(true), WM_COMMAND, ID_PREFERENCES, 0);   // a box nobody answers
    ASSERT_TRUE(WaitFor([&] { return first.Dialog(false) != nullptr; }));
    EXPECT_EQ(later(L"--exit", nullptr), 0u);
    EXPECT_TRUE(first.Exited(0)) << "--exit returns once the running instance has ended, its box or not";
    EXPECT_EQ(first.ExitCode(), 0u) << "ended with covers up";
    const Bytes bytes = ReadAllBytes(DataFilePath());
    ASSERT_EQ(bytes.size(), 445u);
    EXPECT_EQ(bytes[16], 120) << "the slider as the good --opacity left it";
    EXPECT_EQ(At(bytes, 4), static_cast<DWORD>(RGB(0, 0xFF, 0))) << "window color";
}

// A forwarded --show covers without taking the foreground from the user's program.
TEST(CommandLine, AForwardedShowLeavesTheUsersProgramInFront)
{
    UmbrafenProcess first;
    ASSERT_NE(first.WaitForDialog(true), nullptr);
    ForeignWindow user({1400, 100}, false);
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == user.Hwnd(); })) << "the user's program not in front";
    EXPECT_EQ(UmbrafenProcess(L"--show 2").ExitCode(40000), 0u);
    const std::vector<HWND> covers = TopLevelWindows(first.pi.dwProcessId, L"#32770");
    const auto cover = std::find_if(covers.begin(), covers.end(), [](HWND h) { return ::IsWindowVisible(h) && !::GetWindow(h, GW_CHILD); });
    ASSERT_NE(cover, covers.end());
    EXPECT_TRUE(KeptInFront(user.Hwnd(), *cover)) << "the cover took the foreground";
}

// --minimized minimises the new panel without ever showing it open, into the tray when Umbrafen.ini asks for
// Minimize to tray.
TEST(CommandLine, MinimizedStartNeverShowsThePanelOpen)
{
    const std::wstring data = DataFilePath(), ini = DataFilePath(L"Umbrafen.ini");
    ::DeleteFileW(data.c_str());
    for (const char* prefs : {"", "[Tray]\r\nMinimizeToTray=1\r\n"})
    {
        ASSERT_TRUE(WriteAllBytes(ini, Bytes(prefs, prefs + strlen(prefs))));
        UmbrafenProcess app(L"--minimized");
        bool seenOpen = false;
        auto minimised = [&] {
            HWND panel = app.Dialog(true, false);
            seenOpen |= panel && ::IsWindowVisible(panel) && !::IsIconic(panel);
            return panel && ::IsIconic(panel) && ::IsWindowVisible(panel) == !*prefs;
        };
        EXPECT_TRUE(WaitFor(minimised, 10000)) << prefs;
        DWORD_PTR r = 0;   // twice: the panel's loop has been idle since
        for (int i = 0; i++ < 2;) ::SendMessageTimeoutW(app.Dialog(true, false), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &r);
        EXPECT_TRUE(minimised() && !seenOpen) << prefs;
    }
    ::DeleteFileW(ini.c_str());
}

}   // namespace
