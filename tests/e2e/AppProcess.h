// The real Umbrafen.exe as a child process, driven from outside as a user's
// other programs would see it: its windows, its message boxes, its data file.
#pragma once
#include <windows.h>
#include <shlobj.h>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>
#include "res/resource.h"
#include "tests/support/GuiSupport.h"

inline std::wstring DataFilePath()
{
    WCHAR folder[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::wstring(folder) + L"\\Umbrafen\\UmbrafenData.dat";
}

inline std::vector<unsigned char> ReadFileBytes(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

// Polls without pumping messages, as an outside observer: once this thread had
// read its own queue, Wine no longer minimised the program's panel for it.
inline bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs = 5000)
{
    for (ULONGLONG end = ::GetTickCount64() + timeoutMs; ::GetTickCount64() < end; ::Sleep(10))
        if (pred()) return true;
    return pred();
}

template <class T> T At(const std::vector<unsigned char>& b, size_t offset)
{
    T v{};
    memcpy(&v, b.data() + offset, sizeof(T));
    return v;
}

// One run of the program; ended (closed, or killed after a grace period) with the object.
class UmbrafenProcess
{
public:
    // args: the command line after the program's name.
    explicit UmbrafenProcess(const std::wstring& args = L"")
    {
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        std::wstring cmd = L"\"" + std::wstring(UMBRAFEN_EXE_PATH) + L"\"";
        if (!args.empty()) cmd += L" " + args;
        started = ::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != FALSE;
    }
    ~UmbrafenProcess()
    {
        if (!started) return;
        if (!WaitForExit(0))
        {
            if (HWND h = Panel()) ::PostMessageW(h, WM_CLOSE, 0, 0);
            if (!WaitForExit(10000)) ::TerminateProcess(pi.hProcess, 1);
        }
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
    UmbrafenProcess(const UmbrafenProcess&) = delete;
    UmbrafenProcess& operator=(const UmbrafenProcess&) = delete;

    // The control panel: the process's dialog with the monitor list.
    HWND Panel() const { return FindDialog(true); }
    // Any other visible dialog of the process: a message box or prompt.
    HWND MessageBox() const { return FindDialog(false); }
    HWND WaitForPanel() const
    {
        HWND h = nullptr;
        WaitFor([&] { return (h = Panel()) != nullptr; }, 30000);
        // Answered only once the panel's loop runs, after its whole initialisation.
        DWORD_PTR ignored = 0;
        if (h) ::SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_NORMAL, 15000, &ignored);
        return h;
    }
    HWND WaitForMessageBox() const
    {
        HWND h = nullptr;
        WaitFor([&] { return (h = MessageBox()) != nullptr; }, 15000);
        return h;
    }
    bool WaitForExit(DWORD ms = 15000) const { return ::WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0; }
    // The exit code once it has ended; STILL_ACTIVE while it runs.
    DWORD ExitCode() const
    {
        DWORD code = 0;
        ::GetExitCodeProcess(pi.hProcess, &code);
        return code;
    }

    bool started = false;
    PROCESS_INFORMATION pi{};

private:
    HWND FindDialog(bool panel) const
    {
        for (HWND h : TopLevelWindows(pi.dwProcessId, L"#32770"))
            if (::IsWindowVisible(h) && (::GetDlgItem(h, IDC_LIST_MONITORS) != nullptr) == panel) return h;
        return nullptr;
    }
};

// The coloured windows of a process: its visible windows other than dialogs
// with controls, keyed by title.
inline std::map<std::wstring, HWND> ColoredWindows(DWORD pid)
{
    std::map<std::wstring, HWND> found;
    for (HWND h : TopLevelWindows(pid, L"#32770"))
        if (::IsWindowVisible(h) && !::GetWindow(h, GW_CHILD) && WindowText(h).ends_with(L" - Umbrafen"))
            found[WindowText(h)] = h;
    return found;
}

// Presses a box's OK the way a click would, without waiting for the other process.
inline void AnswerOk(HWND box)
{
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}
