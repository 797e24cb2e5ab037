// The real Umbrafen.exe started as a process and driven from outside:
// the single-instance rule, the settings written at exit, Reset All Parameters.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include "tests/e2e/AppProcess.h"

namespace {

int CountWindowsTitled(LPCWSTR title)
{
    int n = 0;
    struct Ctx { LPCWSTR title; int* n; } ctx{title, &n};
    ::EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Ctx*>(lp);
            WCHAR text[64] = {};
            ::GetWindowTextW(h, text, 64);
            if (::IsWindowVisible(h) && lstrcmpW(text, c->title) == 0) ++*c->n;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    return n;
}

class AppLifecycle : public ::testing::Test
{
protected:
    void SetUp() override { ::DeleteFileW(DataFilePath().c_str()); }
    void TearDown() override { ::DeleteFileW(DataFilePath().c_str()); }
};

// Windows that only look like the running instance (the title without the marker, the
// marker with the title in another case) are ignored: the program starts its own panel,
// and a second start restores that one and ends without a window.
TEST_F(AppLifecycle, SecondStartRestoresTheFirstAndLookAlikesAreIgnored)
{
    HWND impostor = ::CreateWindowExW(0, L"STATIC", L"Umbrafen", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    HWND wrongCase = ::CreateWindowExW(0, L"STATIC", L"umbrafen", WS_POPUP | WS_VISIBLE, 60, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(impostor && wrongCase);
    ::SetWindowLongW(wrongCase, GWLP_USERDATA, 0x312);

    UmbrafenProcess first;
    HWND panel = first.WaitForPanel();
    ASSERT_NE(panel, nullptr) << "the program must start its own control panel";
    EXPECT_EQ(::GetWindowLongW(panel, GWLP_USERDATA), 0x312);
    ::ShowWindow(panel, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return ::IsIconic(panel) != FALSE; }, 5000));

    UmbrafenProcess second;
    ASSERT_TRUE(second.started);
    ASSERT_TRUE(second.WaitForExit()) << "the second instance must end by itself";
    EXPECT_FALSE(::IsIconic(panel)) << "the first instance's panel is restored";
    EXPECT_TRUE(::IsWindowVisible(panel));
    ::DestroyWindow(impostor);
    ::DestroyWindow(wrongCase);
    EXPECT_EQ(CountWindowsTitled(L"Umbrafen"), 1) << "no second control panel";
    EXPECT_FALSE(first.WaitForExit(0)) << "the first instance keeps running";
}

TEST_F(AppLifecycle, ClosingThePanelOrOkWritesPlacementAndOpacity)
{
    UmbrafenProcess app;
    ASSERT_TRUE(app.started);
    HWND panel = app.WaitForPanel();
    ASSERT_NE(panel, nullptr);

    ::SetWindowPos(panel, nullptr, 137, 91, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::SendMessageW(::GetDlgItem(panel, IDC_SLIDER_ALPHA), TBM_SETPOS, TRUE, 201);
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    ASSERT_TRUE(::GetWindowPlacement(panel, &wp));

    ::PostMessageW(panel, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit());

    const auto bytes = ReadFileBytes(DataFilePath());
    ASSERT_EQ(bytes.size(), 445u);
    EXPECT_EQ(bytes[16], 201) << "opacity";
    const RECT stored = At<RECT>(bytes, 333);
    EXPECT_TRUE(::EqualRect(&stored, &wp.rcNormalPosition));
    EXPECT_EQ(At<UINT>(bytes, 349), wp.showCmd);
    EXPECT_EQ(At<UINT>(bytes, 8), 1u) << "On Top keeps its fresh value";
    EXPECT_GT(At<int>(bytes, 285), 0) << "the first column's width is captured";

    // The next run comes up where this one was left.
    UmbrafenProcess again;
    HWND panel2 = again.WaitForPanel();
    ASSERT_NE(panel2, nullptr);
    RECT rc{};
    ::GetWindowRect(panel2, &rc);
    EXPECT_EQ(rc.left, wp.rcNormalPosition.left);
    EXPECT_EQ(rc.top, wp.rcNormalPosition.top);
    EXPECT_EQ(::SendMessageW(::GetDlgItem(panel2, IDC_SLIDER_ALPHA), TBM_GETPOS, 0, 0), 201);

    // Ending with OK stores the settings as any other close.
    ::SendMessageW(::GetDlgItem(panel2, IDC_SLIDER_ALPHA), TBM_SETPOS, TRUE, 99);
    ::PostMessageW(panel2, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(again.WaitForExit());
    EXPECT_EQ(ReadFileBytes(DataFilePath()).at(16), 99);
}

TEST_F(AppLifecycle, ResetAllParametersEndsTheProgramAndLeavesNoDataFile)
{
    {
        UmbrafenProcess first;   // a normal run leaves a data file behind
        HWND panel = first.WaitForPanel();
        ASSERT_NE(panel, nullptr);
        ::PostMessageW(panel, WM_CLOSE, 0, 0);
        ASSERT_TRUE(first.WaitForExit());
    }
    ASSERT_EQ(::GetFileAttributesW(DataFilePath().c_str()) != INVALID_FILE_ATTRIBUTES, true);

    UmbrafenProcess app;
    HWND panel = app.WaitForPanel();
    ASSERT_NE(panel, nullptr);
    ::PostMessageW(panel, WM_COMMAND, MAKEWPARAM(ID_RESET_ALL_PARAMETERS, 0), 0);

    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = app.MessageBox()) != nullptr; }, 10000))
        << "the program tells the user it will close";
    EXPECT_EQ(::GetFileAttributesW(DataFilePath().c_str()), INVALID_FILE_ATTRIBUTES) << "deleted before the message";
    AnswerOk(box);

    ASSERT_TRUE(app.WaitForExit());
    EXPECT_EQ(::GetFileAttributesW(DataFilePath().c_str()), INVALID_FILE_ATTRIBUTES) << "nothing written at exit";
}

TEST_F(AppLifecycle, ShortDataFileReportsOnceAndKeepsWhatWasRead)
{
    // Reserved0, WindowColor, OnTop, InAltTab: 16 bytes, then the file ends.
    const DWORD head[4] = {7, 0x00123456, 0, 0};
    std::wstring path = DataFilePath();
    ::CreateDirectoryW(path.substr(0, path.rfind(L'\\')).c_str(), nullptr);
    {
        std::ofstream out(path.c_str(), std::ios::binary);
        out.write(reinterpret_cast<const char*>(head), sizeof(head));
    }

    UmbrafenProcess app;
    ASSERT_TRUE(app.started);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = app.MessageBox()) != nullptr; }, 30000))
        << "the short file is reported";
    EXPECT_FALSE(MessageBoxText(box).empty());
    EXPECT_EQ(app.Panel(), nullptr) << "reported before the control panel opens";
    AnswerOk(box);

    HWND panel = app.WaitForPanel();
    ASSERT_NE(panel, nullptr) << "start-up goes on after the report";
    EXPECT_EQ(app.MessageBox(), nullptr) << "reported once";
    EXPECT_EQ(::IsDlgButtonChecked(panel, IDC_CHK_ON_TOP), BST_UNCHECKED) << "OnTop came from the file";
    EXPECT_EQ(::SendMessageW(::GetDlgItem(panel, IDC_SLIDER_ALPHA), TBM_GETPOS, 0, 0), 150) << "Alpha stays fresh";

    ::PostMessageW(panel, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit());
    const auto bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 445u);
    EXPECT_EQ(At<DWORD>(bytes, 0), 7u);
    EXPECT_EQ(At<DWORD>(bytes, 4), 0x00123456u);
    EXPECT_EQ(bytes[16], 150);
    EXPECT_EQ(At<DWORD>(bytes, 21), 1u) << "Passthrough fresh";
}

} // namespace
