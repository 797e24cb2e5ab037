// The real Umbrafen.exe as a child process, seen as a user's other programs see it: panel, boxes, covers, exit code.
#pragma once
#include "tests/support/GuiSupport.h"
#include <shlobj.h>

// A file in the program's folder, which is created when missing (a test may run first in a fresh prefix).
inline std::wstring DataFilePath(const wchar_t* name = L"UmbrafenData.dat")
{
    WCHAR folder[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    ::CreateDirectoryW((std::wstring(folder) + L"\\Umbrafen").c_str(), nullptr);
    return std::wstring(folder) + L"\\Umbrafen\\" + name;
}

// Polls without pumping messages: once this thread had read its own queue, Wine no longer minimised the panel for it.
inline bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs = 10000)
{
    for (ULONGLONG end = ::GetTickCount64() + timeoutMs; ::GetTickCount64() < end; ::Sleep(10))
        if (pred()) return true;
    return pred();
}

// One run of the program with these arguments; closed, or killed after a grace period, with the object.
class UmbrafenProcess
{
public:
    explicit UmbrafenProcess(const std::wstring& args = L"")
    {
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        std::wstring cmd = L"\"" + std::wstring(UMBRAFEN_EXE_PATH) + L"\" " + args;
        // On a loaded machine Wine now and then cannot lay out a new process ("failed to map the shared user
        // data"): the program never ran, so it is started again.
        for (int tries = 1; !::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
             ++tries)
            if (tries == 3)
            {
                ADD_FAILURE() << "could not start Umbrafen.exe " << args << ": error " << ::GetLastError();
                break;
            }
    }
    ~UmbrafenProcess()
    {
        if (!pi.hProcess) return;
        if (HWND h = Dialog(true, false)) ::PostMessageW(h, WM_CLOSE, 0, 0);
        if (!Exited(10000)) ::TerminateProcess(pi.hProcess, 1);
        ::CloseHandle(pi.hThread), ::CloseHandle(pi.hProcess);
    }
    // The control panel (the dialog with the monitor list), or a message box (any other dialog with controls);
    // with visible false also a hidden panel (in the tray, or still starting).
    HWND Dialog(bool panel, bool visible = true) const
    {
        for (HWND h : TopLevelWindows(pi.dwProcessId, L"#32770"))
            if ((::IsWindowVisible(h) || !visible) && ::GetWindow(h, GW_CHILD) &&
                (::GetDlgItem(h, IDC_LIST_MONITORS) != nullptr) == panel)
                return h;
        return nullptr;
    }
    HWND WaitForDialog(bool panel, DWORD timeoutMs = 30000) const
    {
        HWND h = nullptr;
        // Answered once the dialog's loop runs, after its whole initialisation.
        return WaitFor([&] { return (h = Dialog(panel)) != nullptr; }, timeoutMs) && RoundTrip(h), h;
    }
    // The displays the coloured windows (visible dialogs without controls) cover, such as L"12".
    std::wstring Covered() const { return DisplaysCovered(TopLevelWindows(pi.dwProcessId, L"#32770")); }
    bool Exited(DWORD ms) const { return ::WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0; }
    // STILL_ACTIVE when the process has not ended within ms.
    DWORD ExitCode(DWORD ms = 15000) const
    {
        DWORD code = STILL_ACTIVE;
        return Exited(ms) && ::GetExitCodeProcess(pi.hProcess, &code), code;
    }
    PROCESS_INFORMATION pi{};
};

inline void Answer(HWND box)
{
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}
