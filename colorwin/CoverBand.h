// Keeps a top-most cover above the top-most windows of other programs on its monitor.
// Runs on the cover's own thread.
//   CCoverBand  the window events that may mean a rival rose, the check of the z-order, and
//               the limit on re-raises
#pragma once
#include <windows.h>
#include <vector>

// The cover's timers; a cover has no others.
constexpr UINT_PTR CoverBandCheckTimer = 1;   // the look for raises no window event reports
constexpr UINT_PTR CoverBandRetryTimer = 2;   // the next re-raise the limit allows

class CCoverBand
{
public:
    CCoverBand() = default;
    CCoverBand(const CCoverBand&) = delete;
    CCoverBand& operator=(const CCoverBand&) = delete;
    ~CCoverBand() { Stop(); }

    // From the cover's initialisation, for a top-most cover only: one per thread.
    void Start(HWND cover);
    // Before the window is destroyed; the hooks belong to this thread.
    void Stop();
    void OnTimer(UINT_PTR id);
    // Puts the cover back above the highest rival, unless the limit says wait.
    void Check();

private:
    static void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND hWnd, LONG idObject, LONG idChild, DWORD,
                                    DWORD);
    HWND HighestRival() const;

    HWND m_hWnd = nullptr;
    std::vector<HWINEVENTHOOK> m_hooks;
    ULONGLONG m_raisedAt[4] = {};   // the last re-raises, a ring: at most this many a second
    size_t m_next = 0;              // the oldest of them
};
