#include "tests/support/GuiSupport.h"
#include <gtest/gtest.h>
#include "app/UmbrafenApp.h"
#include "panel/UmbrafenDlg.h"

bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs)
{
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;)
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (pred()) return true;
        if (::GetTickCount64() >= end) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

std::vector<HWND> ProcessTopLevelWindows(LPCWSTR cls)
{
    return TopLevelWindows(::GetCurrentProcessId(), cls);
}

std::vector<HWND> TopLevelWindows(DWORD pidWanted, LPCWSTR cls)
{
    struct Ctx
    {
        DWORD pid;
        LPCWSTR cls;
        std::vector<HWND> found;
    } ctx{pidWanted, cls, {}};
    ::EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Ctx*>(lp);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(h, &pid);
            if (pid != c->pid) return TRUE;
            if (c->cls)
            {
                WCHAR name[64] = {};
                ::GetClassNameW(h, name, 64);
                if (lstrcmpiW(name, c->cls) != 0) return TRUE;
            }
            c->found.push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

std::wstring MessageBoxText(HWND box)
{
    std::wstring text;
    for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
    {
        WCHAR cls[32] = {};
        ::GetClassNameW(c, cls, 32);
        if (lstrcmpiW(cls, L"Static") != 0) continue;
        int n = ::GetWindowTextLengthW(c);
        std::wstring part(n, L'\0');
        ::GetWindowTextW(c, part.data(), n + 1);
        if (!part.empty()) text += part;
    }
    return text;
}

HWND FindMessageBox(const std::wstring& part)
{
    for (HWND h : ProcessTopLevelWindows(L"#32770"))
        if (::IsWindowVisible(h) && MessageBoxText(h).find(part) != std::wstring::npos) return h;
    return nullptr;
}

namespace {
// Message boxes are the visible dialogs whose buttons include IDOK and no other
// dialog of ours: the program's own dialogs have templates with known ids.
bool IsMessageBox(HWND h)
{
    return ::IsWindowVisible(h) && ::GetDlgItem(h, IDOK) && !::GetDlgItem(h, 1000 /*control panel list*/) &&
           ::GetWindowLongPtrW(h, GWLP_USERDATA) != InstanceMarker && !MessageBoxText(h).empty();
}

void TickDontShowAgain(HWND box)
{
    for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
    {
        LONG style = ::GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK;
        WCHAR cls[32] = {};
        ::GetClassNameW(c, cls, 32);
        if (lstrcmpiW(cls, L"Button") == 0 && (style == BS_AUTOCHECKBOX || style == BS_CHECKBOX))
            ::SendMessageW(c, BM_CLICK, 0, 0);
    }
}
} // namespace

MessageBoxWatcher::MessageBoxWatcher(bool tickDontShowAgain) : m_tick(tickDontShowAgain)
{
    ::InitializeCriticalSection(&m_lock);
    m_thread = std::thread([this] { Run(); });
}

MessageBoxWatcher::~MessageBoxWatcher()
{
    m_stop = true;
    m_thread.join();
    ::DeleteCriticalSection(&m_lock);
}

void MessageBoxWatcher::Run()
{
    while (!m_stop)
    {
        for (HWND h : ProcessTopLevelWindows(L"#32770"))
        {
            if (!IsMessageBox(h)) continue;
            std::wstring text = MessageBoxText(h);
            if (m_tick) TickDontShowAgain(h);
            ::EnterCriticalSection(&m_lock);
            m_texts.push_back(text);
            ::LeaveCriticalSection(&m_lock);
            // Posted: the box's thread may be busy in a send to us.
            ::PostMessageW(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(h, IDOK)));
            // Wait until that box is gone so it is not counted twice.
            for (int i = 0; i < 500 && ::IsWindow(h) && ::IsWindowVisible(h); ++i) ::Sleep(5);
        }
        ::Sleep(10);
    }
}

std::vector<std::wstring> MessageBoxWatcher::Texts()
{
    ::EnterCriticalSection(&m_lock);
    auto copy = m_texts;
    ::LeaveCriticalSection(&m_lock);
    return copy;
}

size_t MessageBoxWatcher::Count()
{
    return Texts().size();
}

bool MessageBoxWatcher::WaitForCount(size_t n, DWORD timeoutMs)
{
    return PumpUntil([&] { return Count() >= n; }, timeoutMs);
}

PanelThread::PanelThread()
{
    m_thread = ::CreateThread(nullptr, 0, &PanelThread::Main, this, 0, &m_threadId);
    PumpUntil([&] { return m_hwnd.load() != nullptr || m_ended.load(); }, 15000);
    // A sent message is handled only once the dialog's loop runs, that is after
    // the whole of its initialisation.
    DWORD_PTR ignored = 0;
    if (HWND h = m_hwnd.load()) ::SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_NORMAL, 15000, &ignored);
}

DWORD WINAPI PanelThread::Main(LPVOID p)
{
    auto* self = static_cast<PanelThread*>(p);
    CUmbrafenDlg dlg;
    self->m_dlg = &dlg;
    // As on the application's own thread, the panel is the thread's main window
    // (dialogs opened without a parent are owned by it).
    CWinThread thread;
    thread.m_pMainWnd = &dlg;
    AfxSetThread(&thread);
    // The window exists once OnInitDialog has set g_pMainDlg; publish it then.
    std::thread publisher([self, &dlg] {
        for (int i = 0; i < 3000 && !self->m_ended; ++i)
        {
            if (dlg.m_hWnd && ::IsWindowVisible(dlg.m_hWnd))
            {
                self->m_hwnd = dlg.m_hWnd;
                return;
            }
            ::Sleep(5);
        }
    });
    self->m_result = dlg.DoModal();
    self->m_ended = true;
    publisher.join();
    self->m_dlg = nullptr;
    if (g_pMainDlg == &dlg) g_pMainDlg = nullptr;
    AfxSetThread(nullptr);
    AfxDeleteTempMaps();
    return 0;
}

bool PanelThread::Ended(DWORD timeoutMs)
{
    return PumpUntil([&] { return m_ended.load(); }, timeoutMs);
}

void PanelThread::Invoke(const std::function<void()>& fn)
{
    // A registered message carries the call onto the panel's thread.
    static const UINT msg = ::RegisterWindowMessageW(L"UmbrafenTestInvoke");
    (void)msg;
    struct Ctx
    {
        const std::function<void()>* fn;
    } ctx{&fn};
    HHOOK hook = ::SetWindowsHookExW(
        WH_CALLWNDPROC,
        [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
            auto* cwp = reinterpret_cast<CWPSTRUCT*>(lp);
            static const UINT m = ::RegisterWindowMessageW(L"UmbrafenTestInvoke");
            if (code == HC_ACTION && cwp->message == m) (*reinterpret_cast<Ctx*>(cwp->lParam)->fn)();
            return ::CallNextHookEx(nullptr, code, wp, lp);
        },
        nullptr, m_threadId);
    ::SendMessageW(m_hwnd, msg, 0, reinterpret_cast<LPARAM>(&ctx));
    ::UnhookWindowsHookEx(hook);
}

PanelThread::~PanelThread()
{
    if (!m_ended && m_hwnd) ::PostMessageW(m_hwnd, WM_CLOSE, 0, 0);
    // Answers what the close may ask (there should be nothing) while waiting.
    if (!PumpUntil([&] { return m_ended.load(); }, 10000)) ADD_FAILURE() << "the control panel did not end";
    if (m_thread)
    {
        // The thread writes into this object until it ends; never free it earlier.
        ::WaitForSingleObject(m_thread, INFINITE);
        ::CloseHandle(m_thread);
    }
}

void ClickButton(HWND dlg, int id)
{
    ::SendMessageW(::GetDlgItem(dlg, id), BM_CLICK, 0, 0);
}

void SendCommand(HWND wnd, int id)
{
    ::SendMessageW(wnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}
