// The real Umbrafen.exe started as a process and driven from outside:
// the single-instance rule, the settings written at exit, Reset All Parameters.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>
#include "res/resource.h"

namespace {

std::wstring DataFilePath()
{
    WCHAR folder[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::wstring(folder) + L"\\Umbrafen\\UmbrafenData.dat";
}

std::vector<unsigned char> ReadFileBytes(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

template <class T> T At(const std::vector<unsigned char>& b, size_t offset)
{
    T v{};
    memcpy(&v, b.data() + offset, sizeof(T));
    return v;
}

bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs)
{
    for (ULONGLONG end = ::GetTickCount64() + timeoutMs; ::GetTickCount64() < end; ::Sleep(20))
        if (pred()) return true;
    return pred();
}

struct Found
{
    DWORD pid;
    LPCWSTR cls;
    HWND hwnd;
};

// A top-level window of the process whose class matches (a dialog: "#32770").
HWND FindProcessDialog(DWORD pid, bool messageBox)
{
    Found f{pid, L"#32770", nullptr};
    struct Ctx { Found* f; bool box; } ctx{&f, messageBox};
    ::EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Ctx*>(lp);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(h, &owner);
            WCHAR cls[32] = {};
            ::GetClassNameW(h, cls, 32);
            if (owner != c->f->pid || lstrcmpW(cls, c->f->cls) != 0 || !::IsWindowVisible(h)) return TRUE;
            const bool isPanel = ::GetDlgItem(h, IDC_LIST_MONITORS) != nullptr;
            if (isPanel == c->box) return TRUE;
            c->f->hwnd = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    return f.hwnd;
}

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

// One run of the real program.
class Umbrafen
{
public:
    Umbrafen()
    {
        STARTUPINFOW si{sizeof(si)};
        std::wstring cmd = L"\"" + std::wstring(UMBRAFEN_EXE_PATH) + L"\"";
        started = ::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != FALSE;
    }
    ~Umbrafen()
    {
        if (!started) return;
        if (::WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT)
        {
            if (HWND h = Panel()) ::PostMessageW(h, WM_CLOSE, 0, 0);
            if (::WaitForSingleObject(pi.hProcess, 10000) == WAIT_TIMEOUT) ::TerminateProcess(pi.hProcess, 1);
        }
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
    HWND Panel() const { return FindProcessDialog(pi.dwProcessId, false); }
    HWND WaitForPanel() const
    {
        HWND h = nullptr;
        WaitFor([&] { return (h = Panel()) != nullptr; }, 30000);
        return h;
    }
    bool WaitForExit(DWORD ms = 15000) const { return ::WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0; }

    bool started = false;
    PROCESS_INFORMATION pi{};
};

class AppLifecycle : public ::testing::Test
{
protected:
    void SetUp() override { ::DeleteFileW(DataFilePath().c_str()); }
    void TearDown() override { ::DeleteFileW(DataFilePath().c_str()); }
};

TEST_F(AppLifecycle, SecondStartRestoresTheFirstAndEndsWithoutAWindow)
{
    Umbrafen first;
    ASSERT_TRUE(first.started);
    HWND panel = first.WaitForPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(::GetWindowLongW(panel, GWLP_USERDATA), 0x312);
    ::ShowWindow(panel, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return ::IsIconic(panel) != FALSE; }, 5000));

    Umbrafen second;
    ASSERT_TRUE(second.started);
    ASSERT_TRUE(second.WaitForExit()) << "the second instance must end by itself";
    EXPECT_FALSE(::IsIconic(panel)) << "the first instance's panel is restored";
    EXPECT_TRUE(::IsWindowVisible(panel));
    EXPECT_EQ(CountWindowsTitled(L"Umbrafen"), 1) << "no second control panel";
    EXPECT_FALSE(first.WaitForExit(0)) << "the first instance keeps running";
}

TEST_F(AppLifecycle, WindowsThatOnlyLookLikeTheRunningInstanceAreIgnored)
{
    // Right title without the marker, and the marker with the title in another case.
    HWND impostor = ::CreateWindowExW(0, L"STATIC", L"Umbrafen", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    HWND wrongCase = ::CreateWindowExW(0, L"STATIC", L"umbrafen", WS_POPUP | WS_VISIBLE, 60, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(impostor && wrongCase);
    ::SetWindowLongW(wrongCase, GWLP_USERDATA, 0x312);

    Umbrafen app;
    ASSERT_TRUE(app.started);
    EXPECT_NE(app.WaitForPanel(), nullptr) << "the program must start its own control panel";
    ::DestroyWindow(impostor);
    ::DestroyWindow(wrongCase);
}

TEST_F(AppLifecycle, ClosingThePanelWritesPlacementAndOpacity)
{
    Umbrafen app;
    ASSERT_TRUE(app.started);
    HWND panel = app.WaitForPanel();
    ASSERT_NE(panel, nullptr);

    ::SetWindowPos(panel, nullptr, 137, 91, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::SendMessageW(::GetDlgItem(panel, IDC_SLIDER_ALPHA), TBM_SETPOS, TRUE, 201);
    WINDOWPLACEMENT wp{sizeof(wp)};
    ASSERT_TRUE(::GetWindowPlacement(panel, &wp));

    ::PostMessageW(panel, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit());

    const auto bytes = ReadFileBytes(DataFilePath());
    ASSERT_EQ(bytes.size(), 445u);
    EXPECT_EQ(bytes[16], 201) << "opacity";
    EXPECT_EQ(At<LONG>(bytes, 333), wp.rcNormalPosition.left);
    EXPECT_EQ(At<LONG>(bytes, 337), wp.rcNormalPosition.top);
    EXPECT_EQ(At<LONG>(bytes, 341), wp.rcNormalPosition.right);
    EXPECT_EQ(At<LONG>(bytes, 345), wp.rcNormalPosition.bottom);
    EXPECT_EQ(At<UINT>(bytes, 349), wp.showCmd);
    EXPECT_EQ(At<UINT>(bytes, 8), 1u) << "On Top keeps its fresh value";
    EXPECT_GT(At<int>(bytes, 285), 0) << "the first column's width is captured";

    // The next run comes up where this one was left.
    Umbrafen again;
    HWND panel2 = again.WaitForPanel();
    ASSERT_NE(panel2, nullptr);
    RECT rc{};
    ::GetWindowRect(panel2, &rc);
    EXPECT_EQ(rc.left, wp.rcNormalPosition.left);
    EXPECT_EQ(rc.top, wp.rcNormalPosition.top);
    EXPECT_EQ(::SendMessageW(::GetDlgItem(panel2, IDC_SLIDER_ALPHA), TBM_GETPOS, 0, 0), 201);
}

TEST_F(AppLifecycle, ResetAllParametersEndsTheProgramAndLeavesNoDataFile)
{
    {
        Umbrafen first;   // a normal run leaves a data file behind
        HWND panel = first.WaitForPanel();
        ASSERT_NE(panel, nullptr);
        ::PostMessageW(panel, WM_CLOSE, 0, 0);
        ASSERT_TRUE(first.WaitForExit());
    }
    ASSERT_EQ(::GetFileAttributesW(DataFilePath().c_str()) != INVALID_FILE_ATTRIBUTES, true);

    Umbrafen app;
    HWND panel = app.WaitForPanel();
    ASSERT_NE(panel, nullptr);
    ::PostMessageW(panel, WM_COMMAND, MAKEWPARAM(ID_RESET_ALL_PARAMETERS, 0), 0);

    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindProcessDialog(app.pi.dwProcessId, true)) != nullptr; }, 10000))
        << "the program tells the user it will close";
    EXPECT_EQ(::GetFileAttributesW(DataFilePath().c_str()), INVALID_FILE_ATTRIBUTES) << "deleted before the message";
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);

    ASSERT_TRUE(app.WaitForExit());
    EXPECT_EQ(::GetFileAttributesW(DataFilePath().c_str()), INVALID_FILE_ATTRIBUTES) << "nothing written at exit";
}

} // namespace
