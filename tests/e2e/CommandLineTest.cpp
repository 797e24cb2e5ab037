// The real Umbrafen.exe started with a command line: the first start applies it itself, later
// starts hand it to the running instance and end with its outcome as their exit code.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <set>
#include "tests/e2e/AppProcess.h"

namespace {

class CommandLine : public ::testing::Test
{
protected:
    void SetUp() override { ::DeleteFileW(DataFilePath().c_str()); }
    void TearDown() override { ::DeleteFileW(DataFilePath().c_str()); }

    // The display numbers whose covers are up (titled "Displayn - Umbrafen" under Wine).
    static std::set<int> Covered(const UmbrafenProcess& app)
    {
        std::set<int> displays;
        for (const auto& [title, h] : ColoredWindows(app.pi.dwProcessId))
            if (title.starts_with(L"Display")) displays.insert(_wtoi(title.c_str() + 7));
        return displays;
    }
    static HWND CoverOn(const UmbrafenProcess& app, int display)
    {
        auto covers = ColoredWindows(app.pi.dwProcessId);
        auto it = covers.find(L"Display" + std::to_wstring(display) + L" - Umbrafen");
        return it == covers.end() ? nullptr : it->second;
    }
    static int Alpha(HWND h)
    {
        BYTE alpha = 0;
        DWORD flags = 0;
        return h && ::GetLayeredWindowAttributes(h, nullptr, &alpha, &flags) ? alpha : -1;
    }
    // A message box or prompt: a dialog with controls other than the panel (covers have none).
    static bool AnyBox(const UmbrafenProcess& app)
    {
        for (HWND h : TopLevelWindows(app.pi.dwProcessId, L"#32770"))
            if (::IsWindowVisible(h) && ::GetWindow(h, GW_CHILD) && !::GetDlgItem(h, IDC_LIST_MONITORS)) return true;
        return false;
    }
    static LRESULT Slider(HWND panel) { return ::SendDlgItemMessageW(panel, IDC_SLIDER_ALPHA, TBM_GETPOS, 0, 0); }
};

} // namespace

// A first start with --show 2 covers display 2 alone and ticks its row; later starts then act on
// that instance and end with code 0 once it has done so; --exit ends it through its close sequence.
TEST_F(CommandLine, LaterStartsDriveTheRunningInstanceAndEndWithCodeZero)
{
    UmbrafenProcess first(L"--show 2");
    HWND panel = first.WaitForPanel();
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(WaitFor([&] { return Covered(first) == std::set<int>{2}; }, 15000));
    const std::vector<bool> ticks = ListView(panel, IDC_LIST_MONITORS).Ticks();
    EXPECT_EQ(std::count(ticks.begin(), ticks.end(), true), 1) << "the named row alone is ticked";
    EXPECT_FALSE(AnyBox(first)) << "no prompt before covers asked for on the line";

    struct Step
    {
        const wchar_t* args;
        std::set<int> covered;
    };
    const Step steps[] = {
        {L"--toggle", {1}}, // every display: 1 gains a cover, 2 loses its own
        {L"--toggle 1,2", {2}}, {L"--show 1 --opacity 120 --color 00FF00", {1, 2}},
        {L"--close 1", {2}},    {L"--show", {1, 2}}, // both rows are ticked by now
        {L"--close", {}},
    };
    HWND oldCover2 = nullptr;
    for (const Step& step : steps)
    {
        SCOPED_TRACE(std::string(step.args, step.args + wcslen(step.args)));
        UmbrafenProcess later(step.args);
        ASSERT_TRUE(later.WaitForExit(40000)) << "a later start ends by itself";
        EXPECT_EQ(later.ExitCode(), 0u);
        EXPECT_TRUE(WaitFor([&] { return Covered(first) == step.covered; }, 10000));
        EXPECT_FALSE(first.WaitForExit(0));
        EXPECT_FALSE(AnyBox(first));
        if (std::wstring(step.args).starts_with(L"--show 1"))
        {
            EXPECT_EQ(Slider(panel), 120) << "the slider moves as the user would move it";
            EXPECT_TRUE(WaitFor([&] { return Alpha(CoverOn(first, 1)) == 120; }));
            EXPECT_EQ(Alpha(CoverOn(first, 2)), 150) << "the cover already up stays as it was";
            oldCover2 = CoverOn(first, 2);
        }
        if (std::wstring(step.args) == L"--show")
        {
            EXPECT_TRUE(WaitFor([&] { return Alpha(CoverOn(first, 2)) == 120; })) << "Show replaces every cover";
            EXPECT_NE(CoverOn(first, 2), oldCover2);
        }
    }

    UmbrafenProcess ender(L"--exit");
    ASSERT_TRUE(ender.WaitForExit(40000));
    EXPECT_EQ(ender.ExitCode(), 0u);
    ASSERT_TRUE(first.WaitForExit()) << "--exit ends the running instance";
    EXPECT_EQ(first.ExitCode(), 0u);
    const auto bytes = ReadFileBytes(DataFilePath());
    ASSERT_EQ(bytes.size(), 445u);
    EXPECT_EQ(bytes[16], 120) << "opacity stored as the slider left it";
    EXPECT_EQ(At<DWORD>(bytes, 4), static_cast<DWORD>(RGB(0, 0xFF, 0))) << "window color";
}

// A mistake is named in a box with the usage; the start ends with code 2 and the running
// instance is untouched, even when part of the line was good. --help answers with code 0.
TEST_F(CommandLine, MistakesAndHelpAnswerInABoxAndChangeNothing)
{
    UmbrafenProcess first;
    HWND panel = first.WaitForPanel();
    ASSERT_NE(panel, nullptr);
    struct Case
    {
        const wchar_t* args;
        const wchar_t* says;
        DWORD code;
    };
    const Case cases[] = {
        {L"--shw 2", L"Unknown option: --shw", 2},
        {L"--show 1,9 --opacity 200", L"no display 9", 2}, // only the running instance knows
        {L"--toggle 1 --opacity 10", L"--opacity must be 50 to 255", 2},
        {L"--help", L"--toggle [all | N,N...]", 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.args, c.args + wcslen(c.args)));
        UmbrafenProcess later(c.args);
        HWND box = later.WaitForMessageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(WindowText(box), L"Umbrafen");
        const std::wstring text = MessageBoxText(box);
        EXPECT_NE(text.find(c.says), std::wstring::npos) << std::string(text.begin(), text.end());
        EXPECT_NE(text.find(L"Umbrafen [options]"), std::wstring::npos) << "the usage follows";
        AnswerOk(box);
        ASSERT_TRUE(later.WaitForExit());
        EXPECT_EQ(later.ExitCode(), c.code);
        EXPECT_TRUE(Covered(first).empty());
        EXPECT_EQ(Slider(panel), 150);
        EXPECT_FALSE(AnyBox(first));
    }
    EXPECT_FALSE(first.WaitForExit(0));
}
