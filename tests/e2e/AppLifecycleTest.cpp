// The real Umbrafen.exe driven from outside: one instance, --minimized, the data file, Reset and the exit code.
#include <filesystem>
#include "tests/e2e/AppProcess.h"

namespace {

// --minimized minimises the panel without ever showing it open (into the tray with Minimize to tray). A window with
// the title but not the mark, or the reverse, is no instance; a second start restores the panel and ends by itself.
// The manifest asks for per-monitor DPI awareness (v2, else system), and dpiAware where dpiAwareness is unknown.
TEST(AppLifecycle, MinimizedStartOneInstanceRestoredByASecondStartAndTheManifestsDpiAwareness)
{
    HWND impostor = ::CreateWindowExW(0, L"STATIC", L"Umbrafen", WS_POPUP | WS_VISIBLE, 0, 0, 9, 9, 0, 0, 0, 0);
    HWND wrongCase = ::CreateWindowExW(0, L"STATIC", L"umbrafen", WS_POPUP | WS_VISIBLE, 9, 0, 9, 9, 0, 0, 0, 0);
    ::SetWindowLongW(wrongCase, GWLP_USERDATA, 0x312);
    const std::wstring ini = DataFilePath(L"Umbrafen.ini");
    ::DeleteFileW(DataFilePath().c_str());
    for (const char* prefs : {"[Tray]\r\nMinimizeToTray=1\r\n", ""})
    {
        ASSERT_TRUE(WriteAllBytes(ini, Bytes(prefs, prefs + strlen(prefs))));
        UmbrafenProcess first(L"--minimized");
        bool seenOpen = false;
        auto minimised = [&] {
            HWND panel = first.Dialog(true, false);
            seenOpen |= panel && ::IsWindowVisible(panel) && !::IsIconic(panel);
            return panel && ::IsIconic(panel) && ::IsWindowVisible(panel) == !*prefs;
        };
        EXPECT_TRUE(WaitFor(minimised)) << prefs;
        HWND panel = first.Dialog(true, false);
        // Twice: the panel's loop has been idle since.
        EXPECT_TRUE(RoundTrip(panel) && RoundTrip(panel) && minimised() && !seenOpen) << prefs;
        if (*prefs) continue;
        ASSERT_EQ(UmbrafenProcess().ExitCode(), 0u) << "the second instance must end by itself";
        EXPECT_TRUE(WaitFor([&] { return !::IsIconic(panel); })) << "the first instance's panel is restored";
        EXPECT_FALSE(first.Exited(0));
    }
    ::DestroyWindow(impostor), ::DestroyWindow(wrongCase), ::DeleteFileW(ini.c_str());

    ACTCTXW actCtx{};
    actCtx.cbSize = sizeof(actCtx), actCtx.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    actCtx.lpSource = UMBRAFEN_EXE_PATH, actCtx.lpResourceName = MAKEINTRESOURCEW(1);
    const HANDLE ctx = ::CreateActCtxW(&actCtx);
    ASSERT_NE(ctx, INVALID_HANDLE_VALUE);
    WCHAR aware[64] = {}, awareness[64] = {};
    ::QueryActCtxSettingsW(0, ctx, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", aware, 64, 0);
    ::QueryActCtxSettingsW(0, ctx, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness", awareness,
                           64, nullptr);
    ::ReleaseActCtx(ctx);
    EXPECT_EQ(std::wstring(awareness), L"PerMonitorV2, System");
    EXPECT_EQ(std::wstring(aware), L"true");
}

// An instance that holds the mutex but shows no panel (hung, or held by a box of its own) is reported by a plain start
// and by --exit alike, in a box, and both end with code 1 instead of quietly.
TEST(AppLifecycle, AnInstanceThatDoesNotAnswerIsReported)
{
    HANDLE mutex = ::CreateMutexW(nullptr, TRUE, L"Local\\Umbrafen.SingleInstance");
    ASSERT_NE(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << "no other Umbrafen may run";
    UmbrafenProcess plain, exitStart(L"--exit");
    for (UmbrafenProcess* start : {&plain, &exitStart})
    {
        HWND box = nullptr;
        WaitFor([&] { return (box = start->Dialog(false)) != nullptr || start->Exited(0); }, 30000);
        EXPECT_NE(MessageBoxText(box).find(L"Umbrafen is already running but does not answer"), std::wstring::npos);
        if (box) Answer(box);
        EXPECT_EQ(start->ExitCode(), 1u);
    }
    ::ReleaseMutex(mutex), ::CloseHandle(mutex);
}

// A cut data file is reported once before the panel opens, and a start meanwhile gives no second instance; what was
// read is kept, the rest is fresh. Exit with covers up ends with 0 and writes the record with the user's changes. A
// change reaches the file two seconds later, so a killed program keeps it (a change and its undo write nothing);
// Reset All Parameters deletes the file and nothing, not even a change made just before, writes it again.
TEST(AppLifecycle, DataFileFromACutOneToAKillAndReset)
{
    const std::wstring path = DataFilePath();
    // Reserved0, WindowColor, OnTop, InAltTab: 16 bytes, then the file ends.
    ASSERT_TRUE(WriteAllBytes(path, {7, 0, 0, 0, 0x56, 0x34, 0x12, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    {
        UmbrafenProcess app;
        HWND box = app.WaitForDialog(false);
        ASSERT_NE(box, nullptr) << "the short file is reported";
        EXPECT_EQ(MessageBoxText(box), L"Unexpected end of file while reading " + path + L".");
        // Held at the report it has no panel yet: only the mutex turns another start away, which then finds the panel.
        UmbrafenProcess second;
        Answer(box);
        EXPECT_EQ(second.ExitCode(30000), 0u) << "a start while the first is still starting ends by itself";
        HWND panel = app.WaitForDialog(true);
        ASSERT_NE(panel, nullptr) << "start-up goes on after one report";
        EXPECT_EQ(::IsDlgButtonChecked(panel, IDC_CHK_ON_TOP), BST_UNCHECKED) << "OnTop came from the file";
        EXPECT_EQ(::SendDlgItemMessageW(panel, IDC_SLIDER_ALPHA, TBM_GETPOS, 0, 0), 150) << "Alpha stays fresh";
        ::PostMessageW(panel, WM_COMMAND, ID_COLORED_WINDOW_ON_ALL_MONITORS, 0);   // ticks every row
        Answer(app.WaitForDialog(false, 15000));                                   // the Passthrough prompt
        ASSERT_TRUE(WaitFor([&] { return app.Covered() == L"12"; }, 15000));
        // Changed after the show, which reads the slider itself: only the exit can store these.
        ::SetWindowPos(panel, nullptr, 137, 91, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ::SendDlgItemMessageW(panel, IDC_SLIDER_ALPHA, TBM_SETPOS, TRUE, 201);
        RECT normal{};   // not minimised: the window's own rectangle (the work area starts at 0,0)
        ASSERT_TRUE(::GetWindowRect(panel, &normal) && ::PostMessageW(panel, WM_COMMAND, ID_EXIT, 0));
        ASSERT_EQ(app.ExitCode(), 0u);
        const Bytes bytes = ReadAllBytes(path);
        ASSERT_EQ(bytes.size(), 445u);
        EXPECT_EQ((std::vector<DWORD>{At(bytes, 0), At(bytes, 4), bytes[16], At(bytes, 21), At(bytes, 45)}),
                  (std::vector<DWORD>{7, 0x123456, 201, 1, 1}));
        const RECT stored{LONG(At(bytes, 333)), LONG(At(bytes, 337)), LONG(At(bytes, 341)), LONG(At(bytes, 345))};
        EXPECT_TRUE(::EqualRect(&stored, &normal));
    }
    auto stored = [&](size_t at, DWORD value) {   // Alpha (16) is one byte, and AutoMinimize after it is 0
        // One read a look: a second could meet the file at the moment the program replaces it.
        return WaitFor([&] { const Bytes b = ReadAllBytes(path); return b.size() == 445 && At(b, at) == value; }, 20000);
    };
    {
        UmbrafenProcess app;
        HWND panel = app.WaitForDialog(true);
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(::SendDlgItemMessageW(panel, IDC_SLIDER_ALPHA, TBM_GETPOS, 0, 0), 201) << "read back at start";
        ::PostMessageW(panel, WM_COMMAND, IDC_BTN_UNCHECK_ALL, 0);
        EXPECT_TRUE(stored(57, 0)) << "the second row's tick";
        ::PostMessageW(::GetDlgItem(panel, IDC_SLIDER_ALPHA), WM_KEYDOWN, VK_END, 0);
        EXPECT_TRUE(stored(16, 255)) << "the slider as a key moved it";
        const auto written = std::filesystem::last_write_time(path);
        for (int id : {IDC_BTN_CHECK_ALL, IDC_BTN_UNCHECK_ALL}) ::SendMessageW(panel, WM_COMMAND, id, 0);
        EXPECT_FALSE(WaitFor([&] { return std::filesystem::last_write_time(path) != written; }, 3000));
        ::TerminateProcess(app.pi.hProcess, 9);
        EXPECT_TRUE(stored(57, 0) && stored(16, 255)) << "kept after the kill";
    }
    UmbrafenProcess app;
    HWND panel = app.WaitForDialog(true);
    ASSERT_NE(panel, nullptr);
    ::PostMessageW(panel, WM_COMMAND, IDC_BTN_CHECK_ALL, 0);   // a change still to be stored
    ::PostMessageW(panel, WM_COMMAND, ID_RESET_ALL_PARAMETERS, 0);
    HWND box = app.WaitForDialog(false, 10000);
    ASSERT_NE(box, nullptr) << "the program tells the user it will close";
    EXPECT_FALSE(WaitFor([&] { return FileExists(path); }, 3000)) << "the pending store is cancelled";
    Answer(box);
    EXPECT_EQ(app.ExitCode(), 0u);
    EXPECT_FALSE(FileExists(path)) << "nothing written at exit";
}

}   // namespace
