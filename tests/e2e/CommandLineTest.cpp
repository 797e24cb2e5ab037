// The real Umbrafen.exe started with a command line, handed by later starts to the running instance.
#include <tuple>
#include "tests/e2e/AppProcess.h"

namespace {

// A first start whose command names a missing display says so and ends with 2; one with a good command covers at
// once, with no start-up prompt. A later start's command acts, in order, on the displays it names (or the ticked ones,
// or all) and ends it with 0 once in place; a mistake, found by the later start or by the running instance, is named
// in the later start's own box, ends it with 2 and changes nothing.
TEST(CommandLine, LaterStartsDriveTheRunningInstanceOrNameTheirMistake)
{
    Bytes record(445);   // fresh, but Passthrough (offset 21) off
    record[0] = record[8] = 1, record[16] = 150;
    ASSERT_TRUE(WriteAllBytes(DataFilePath(), record));
    RestorePrompt(PassthroughOffPromptKey);
    auto start = [](const wchar_t* args, const wchar_t* mistake = nullptr) {
        UmbrafenProcess start(args);
        HWND box = mistake ? start.WaitForDialog(false, 15000) : nullptr;
        EXPECT_NE(MessageBoxText(box).find(mistake ? mistake : L""), std::wstring::npos) << "box of " << args;
        if (box) Answer(box);
        return start.ExitCode(20000);
    };
    EXPECT_EQ(start(L"--show 2,9", L"There is no display 9"), 2u) << "a first start's own mistake";
    UmbrafenProcess first(L"--show 2");
    ASSERT_TRUE(WaitFor([&] { return first.Covered() == L"2"; })) << "the first start applies its own line at once";
    EXPECT_EQ(first.Dialog(false), nullptr) << "no prompt";
    HWND panel = first.WaitForDialog(true);
    ASSERT_NE(panel, nullptr);
    // Code 0 only with the effect in place, so the covers are read as soon as the start has ended; each command acts
    // on what the one before left: two toggles give back the first state. No args: Uncheck All in the panel.
    const std::tuple<const wchar_t*, const wchar_t*, std::wstring> steps[] = {
        {L"--show 1 --opacity 120 --color 00FF00", nullptr, L"12"}, {L"--toggle 1", nullptr, L"2"},
        {L"--toggle 1", nullptr, L"12"}, {L"--close 1", nullptr, L"2"}, {L"--show 1", nullptr, L"12"},
        {L"--close 1", nullptr, L"2"}, {L"--toggle", nullptr, L"1"}, {L"--close", nullptr, L""}, {0, 0, L""},
        {L"--toggle 1", nullptr, L"1"}, {0, 0, L"1"}, {L"--toggle 2", nullptr, L"12"},
        {L"--close 2", nullptr, L"1"}, {L"--show", nullptr, L"2"}, {L"--shw 2", L"Unknown option: --shw", L"2"},
        {L"--show 1,9 --opacity 200", L"no display 9", L"2"},   // only the running instance knows
    };
    for (const auto& [args, mistake, covered] : steps)
    {
        if (args) EXPECT_EQ(start(args, mistake), mistake ? 2u : 0u) << args;
        else ::SendMessageW(panel, WM_COMMAND, IDC_BTN_UNCHECK_ALL, 0);
        EXPECT_EQ(first.Covered(), covered) << "right after " << (args ? args : L"Uncheck All");
    }
    UmbrafenProcess t1(L"--toggle 1"), t2(L"--toggle 1"), t3(L"--toggle 1");
    for (UmbrafenProcess* toggle : {&t1, &t2, &t3}) EXPECT_EQ(toggle->ExitCode(20000), 0u);
    EXPECT_EQ(first.Covered(), L"12") << "three toggles at once leave display 1 covered";
    EXPECT_EQ(start(L"--minimized"), 0u);
    EXPECT_TRUE(WaitFor([&] { return ::IsIconic(panel); })) << "--minimized";
    ::PostMessageW(panel, WM_COMMAND, ID_PREFERENCES, 0);   // a box nobody answers
    ASSERT_TRUE(WaitFor([&] { return first.Dialog(false, false) != nullptr; }));
    EXPECT_EQ(start(L"--exit"), 0u);
    EXPECT_TRUE(first.Exited(0)) << "--exit returns once the running instance has ended, its box or not";
    EXPECT_EQ(first.ExitCode(), 0u) << "ended with covers up";
    const Bytes b = ReadAllBytes(DataFilePath());
    EXPECT_TRUE(b.size() == 445 && b[16] == 120 && At(b, 4) == RGB(0, 0xFF, 0)) << "the slider and colour not stored";
}

// Forwarded --show and --auto-cover leave the user's program in front; --auto-cover switches auto-cover for the run
// (Umbrafen.ini stays as it is): on covers the idle display once the time has passed, pause and off uncover it.
TEST(CommandLine, ForwardedShowAndAutoCoverLeaveTheUsersProgramInFront)
{
    const std::wstring ini = DataFilePath(L"Umbrafen.ini");
    const std::string prefs = "[AutoCover]\r\nEnabled=0\r\nAfterSeconds=5\r\n";
    ASSERT_TRUE(WriteAllBytes(ini, Bytes(prefs.begin(), prefs.end())));
    ::SetCursorPos(1600, 1050);   // on display 1 only, as the user's program
    UmbrafenProcess first;
    ASSERT_NE(first.WaitForDialog(true), nullptr);
    ForeignWindow user({1400, 100}, false);
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == user.Hwnd(); })) << "the user's program not in front";
    const std::pair<const wchar_t*, const wchar_t*> steps[] = {
        {L"--show 2", L"2"}, {L"--close", L""}, {L"--auto-cover on", L"2"}, {L"--auto-cover pause", L""},
        {L"--auto-cover on", L"2"}, {L"--auto-cover off", L""}};
    for (const auto& [args, covered] : steps)
    {
        EXPECT_EQ(UmbrafenProcess(args).ExitCode(20000), 0u) << args;
        EXPECT_TRUE(WaitFor([&] { return first.Covered() == covered; }, 15000)) << args << ": " << first.Covered();
        for (HWND h : TopLevelWindows(first.pi.dwProcessId, L"#32770"))
            EXPECT_TRUE(DisplaysCovered({h}).empty() || KeptInFront(user.Hwnd(), h)) << args << " took the front";
    }
    EXPECT_EQ(ReadAllBytes(ini), Bytes(prefs.begin(), prefs.end()));
    ::DeleteFileW(ini.c_str());
}

}   // namespace
