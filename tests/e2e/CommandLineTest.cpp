// The real Umbrafen.exe started with a command line: the first start applies it itself, later starts hand
// it to the running instance and end with its outcome as their exit code.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <set>
#include "tests/e2e/AppProcess.h"

namespace {

// The display numbers whose covers are up (titled "Displayn - Umbrafen" under Wine).
std::set<int> Covered(const UmbrafenProcess& app)
{
    std::set<int> displays;
    for (const auto& [title, h] : app.Covers()) displays.insert(_wtoi(title.c_str() + 7));
    return displays;
}

// With no instance running, --show 2 starts one that covers display 2 and ticks its row. Later starts act
// on it without a prompt and end with code 0; a mistake is named in their own box with the usage, ends
// them with code 2 and changes nothing, even when part of the line was good.
TEST(CommandLine, LaterStartsDriveTheRunningInstanceOrNameTheirMistake)
{
    ::DeleteFileW(DataFilePath().c_str());
    UmbrafenProcess first(L"--show 2");
    HWND panel = first.WaitForDialog(true);
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(WaitFor([&] { return Covered(first) == std::set<int>{2}; }, 15000));
    const std::vector<bool> ticks = ListView(panel, IDC_LIST_MONITORS).Ticks();
    EXPECT_EQ(std::count(ticks.begin(), ticks.end(), true), 1);

    const struct
    {
        const wchar_t* args;
        std::set<int> covered;
        DWORD code;
        const wchar_t* box;   // part of the box the later start shows, if any
    } steps[] = {
        {L"--toggle", {1}, 0, nullptr},   // every display: 1 gains a cover, 2 loses its own
        {L"--toggle 1,2", {2}, 0, nullptr},
        {L"--show 1 --opacity 120 --color 00FF00", {1, 2}, 0, nullptr},
        {L"--close 1", {2}, 0, nullptr},
        {L"--shw 2", {2}, 2, L"Unknown option: --shw"},
        {L"--show 1,9 --opacity 200", {2}, 2, L"no display 9"},   // only the running instance knows
        {L"--help", {2}, 0, L"--toggle [all | N,N...]"},
        {L"--show", {1, 2}, 0, nullptr},   // the ticked rows, both by now
        {L"--close", {}, 0, nullptr},
        {L"--exit", {}, 0, nullptr},
    };
    for (const auto& step : steps)
    {
        SCOPED_TRACE(std::string(step.args, step.args + wcslen(step.args)));
        UmbrafenProcess later(step.args);
        if (step.box)
        {
            HWND box = later.WaitForDialog(false, 15000);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(WindowText(box), L"Umbrafen");
            const std::wstring text = MessageBoxText(box);
            EXPECT_NE(text.find(step.box), std::wstring::npos) << std::string(text.begin(), text.end());
            EXPECT_NE(text.find(L"Umbrafen [options]"), std::wstring::npos) << "the usage follows";
            Answer(box);
        }
        ASSERT_TRUE(later.Exited(40000)) << "a later start ends by itself";
        EXPECT_EQ(later.ExitCode(), step.code);
        EXPECT_TRUE(WaitFor([&] { return Covered(first) == step.covered; }, 10000));
        EXPECT_EQ(first.Dialog(false), nullptr) << "the running instance shows no box";
    }
    ASSERT_TRUE(first.Exited()) << "--exit ends the running instance";
    EXPECT_EQ(first.ExitCode(), 0u);
    const Bytes bytes = ReadAllBytes(DataFilePath());
    ASSERT_EQ(bytes.size(), 445u);
    EXPECT_EQ(bytes[16], 120) << "the slider as the good --opacity left it";
    EXPECT_EQ(At(bytes, 4), static_cast<DWORD>(RGB(0, 0xFF, 0))) << "window color";
}

}   // namespace
