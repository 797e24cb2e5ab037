// Helpers for tests that drive real windows on the virtual desktop:
// polling with a message pump, finding and answering message boxes, and
// running the control panel modally on a thread of its own.
#pragma once
#include <windows.h>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

class CUmbrafenDlg;

// Pumps this thread's messages until pred() holds or the time runs out.
bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs = 5000);

// Top-level windows of a process, visible or not, whose class is cls (any when null).
std::vector<HWND> TopLevelWindows(DWORD pid, LPCWSTR cls = nullptr);
// The same for this process.
std::vector<HWND> ProcessTopLevelWindows(LPCWSTR cls = nullptr);

// The text of a message box (its static text), empty if hwnd is none.
std::wstring MessageBoxText(HWND box);

// A visible message box of this process whose text contains part; null when none.
HWND FindMessageBox(const std::wstring& part);

// Watches for message boxes on a thread of its own and answers each one by
// pressing its default button; optionally ticks the "don't show again" box
// first. Records every text it answered.
class MessageBoxWatcher
{
public:
    explicit MessageBoxWatcher(bool tickDontShowAgain = false);
    ~MessageBoxWatcher();
    std::vector<std::wstring> Texts();
    size_t Count();
    bool WaitForCount(size_t n, DWORD timeoutMs = 5000);

private:
    void Run();
    bool m_tick;
    std::atomic<bool> m_stop{false};
    CRITICAL_SECTION m_lock;
    std::vector<std::wstring> m_texts;
    std::thread m_thread;
};

// The control panel, run with DoModal on a UI thread of its own, as the
// application runs it. The test thread talks to it with SendMessage.
class PanelThread
{
public:
    PanelThread();
    ~PanelThread();   // closes the panel if still open and joins the thread
    HWND Hwnd() const { return m_hwnd; }
    CUmbrafenDlg* Dialog() const { return m_dlg; }
    bool Ended(DWORD timeoutMs = 5000);   // waits for DoModal to return
    INT_PTR Result() const { return m_result; }
    DWORD ThreadId() const { return m_threadId; }
    // Runs fn on the panel's thread and waits for it.
    void Invoke(const std::function<void()>& fn);

private:
    std::atomic<HWND> m_hwnd{nullptr};
    CUmbrafenDlg* m_dlg = nullptr;
    std::atomic<bool> m_ended{false};
    INT_PTR m_result = 0;
    DWORD m_threadId = 0;
    HANDLE m_thread = nullptr;
    static DWORD WINAPI Main(LPVOID self);
};

// Clicks a button of a dialog the way a user would (BM_CLICK), from any thread.
void ClickButton(HWND dlg, int id);
// Sends a command as a menu item would.
void SendCommand(HWND wnd, int id);
