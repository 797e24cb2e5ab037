// Shows and closes coloured windows on every monitor 100 times (or argv[1])
// through the control panel and prints how long that takes and what it leaves
// behind. Not a test: scripts/bench runs it on the virtual display.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "colorwin/OpenWindowRegistry.h"
#include "framework/ModuleState.h"
#include "panel/UmbrafenDlg.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/PromptStore.h"

namespace {

struct ProcessFigures
{
    unsigned long long workingSetKiB = 0, threads = 0, gdiObjects = 0, userObjects = 0, handles = 0;
};

ProcessFigures Measure()
{
    ProcessFigures f;
    HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 te{};
    te.dwSize = sizeof(te);
    for (BOOL ok = ::Thread32First(snap, &te); ok; ok = ::Thread32Next(snap, &te))
        if (te.th32OwnerProcessID == ::GetCurrentProcessId()) ++f.threads;
    ::CloseHandle(snap);
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof(pmc);
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), &pmc, sizeof(pmc))) f.workingSetKiB = pmc.WorkingSetSize / 1024;
    f.gdiObjects = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    f.userObjects = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    DWORD handles = 0;
    if (::GetProcessHandleCount(::GetCurrentProcess(), &handles)) f.handles = handles;
    return f;
}

// A process with windows never has none of these, so 0 means the platform does not count them.
bool PrintRow(const char* name, unsigned long long before, unsigned long long after)
{
    const bool known = before != 0 && after != 0;
    if (known) std::printf("%-22s %12llu %12llu\n", name, before, after);
    else std::printf("%-22s %12s %12s\n", name, "n/a", "n/a");
    return known;
}

double Ms(LARGE_INTEGER a, LARGE_INTEGER b, LARGE_INTEGER freq)
{
    return 1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(freq.QuadPart);
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Every monitor row has a registered, visible window.
bool AllShown(INT_PTR rows)
{
    if (OpenWindowRegistry.GetCount() != rows) return false;
    for (HWND h : OpenWindowRegistry.GetWindows())
        if (!::IsWindowVisible(h)) return false;
    return true;
}

}   // namespace

int wmain(int argc, wchar_t** argv)
{
    const int Cycles = argc > 1 ? _wtoi(argv[1]) : 100;
    AfxGetModuleState()->m_lpszCurrentAppName = L"Umbrafen";
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    ResetAppSettings();
    AppSettings.TurnOffMonitors = 0;
    AppSettings.AutoMinimize = 0;
    // The show prompt would wait for a person; it is suppressed for the run and restored after.
    Suppress(PassthroughPromptKey);

    int result = 0;
    {
        PanelThread panel;
        if (!panel.Hwnd())
        {
            std::fprintf(stderr, "the control panel did not open\n");
            RestorePrompt(PassthroughPromptKey);
            return 1;
        }
        INT_PTR rows = 0;
        panel.Invoke([&] { rows = panel.Dialog()->m_list.GetItemCount(); });

        const ProcessFigures before = Measure();
        LARGE_INTEGER freq;
        ::QueryPerformanceFrequency(&freq);
        std::vector<double> show, close;
        for (int i = 0; i < Cycles; ++i)
        {
            LARGE_INTEGER t0, t1, t2, t3;
            ::QueryPerformanceCounter(&t0);
            ::SendMessageW(panel.Hwnd(), WM_COMMAND, ID_COLORED_WINDOW_ON_ALL_MONITORS, 0);
            const ULONGLONG deadline = ::GetTickCount64() + 10000;
            while (!AllShown(rows) && ::GetTickCount64() < deadline) ::Sleep(0);
            ::QueryPerformanceCounter(&t1);
            if (!AllShown(rows))
            {
                std::fprintf(stderr, "cycle %d: windows did not all appear\n", i);
                result = 1;
                break;
            }
            show.push_back(Ms(t0, t1, freq));

            ::QueryPerformanceCounter(&t2);
            ::SendMessageW(panel.Hwnd(), WM_COMMAND, ID_CLOSE_ALL_COLORED_WINDOWS, 0);
            ::QueryPerformanceCounter(&t3);
            if (OpenWindowRegistry.GetCount() != 0)
            {
                std::fprintf(stderr, "cycle %d: windows still open after Close All\n", i);
                result = 1;
                break;
            }
            close.push_back(Ms(t2, t3, freq));
        }
        // Window threads end just after their windows; give them a moment before counting.
        ProcessFigures after = Measure();
        for (int i = 0; i < 200 && after.threads > before.threads; ++i)
        {
            ::Sleep(10);
            after = Measure();
        }

        std::printf("%d monitors, %zu cycles\n", static_cast<int>(rows), show.size());
        if (!show.empty())
        {
            std::printf("%-22s %12s %12s\n", "time (ms)", "median", "worst");
            std::printf("%-22s %12.2f %12.2f\n", "show on all monitors", Median(show),
                        *std::max_element(show.begin(), show.end()));
            std::printf("%-22s %12.2f %12.2f\n", "close all", Median(close),
                        *std::max_element(close.begin(), close.end()));
        }
        std::printf("%-22s %12s %12s\n", "process", "before", "after");
        bool all = PrintRow("working set (KiB)", before.workingSetKiB, after.workingSetKiB);
        all &= PrintRow("threads", before.threads, after.threads);
        all &= PrintRow("GDI objects", before.gdiObjects, after.gdiObjects);
        all &= PrintRow("USER objects", before.userObjects, after.userObjects);
        all &= PrintRow("handles", before.handles, after.handles);
        if (!all) std::printf("n/a: the platform reports 0 for it (as Wine does)\n");
    }
    RestorePrompt(PassthroughPromptKey);
    return result;
}
