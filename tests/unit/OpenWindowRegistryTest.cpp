// The open-window registry under the conditions the program puts it in: windows on threads of their own
// that unregister themselves while close-alls run from several threads at once.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "colorwin/OpenWindowRegistry.h"
#include "display/HandleText.h"

namespace {

// A message-only window that behaves towards the registry as a coloured window does: WM_CLOSE removes its entries.
struct RegisteredWindow
{
    static constexpr int KeysPerWindow = 3;
    const int id;
    std::atomic<int> closes{0};

    static LRESULT CALLBACK WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
    {
        auto* self = reinterpret_cast<RegisteredWindow*>(::GetWindowLongPtrW(h, GWLP_USERDATA));
        if (msg != WM_CLOSE || !self) return ::DefWindowProcW(h, msg, wp, lp);
        ++self->closes;
        for (int i = 0; i < KeysPerWindow; ++i) OpenWindowRegistry.RemoveKey(self->Key(i));
        return 0;
    }
    HWND Create()
    {
        static const WNDCLASSW wc{0,       &RegisteredWindow::WndProc,   0, 0, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, L"UmbrafenRegistryTestWindow"};
        static const ATOM atom = ::RegisterClassW(&wc);
        HWND h = ::CreateWindowExW(0, MAKEINTATOM(atom), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ::SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        return h;
    }
    CString Key(int i) const
    {
        CString key;
        key.Format(L"%d", 1000 + id * KeysPerWindow + i);
        return key;
    }
    static void Pump()
    {
        for (MSG msg; ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) ::DispatchMessageW(&msg);
    }
};

// Threads as handles, so the end can be awaited with a time limit.
struct Threads
{
    std::vector<HANDLE> handles;
    void Start(std::function<void()> fn)
    {
        auto run = [](LPVOID p) -> DWORD {
            std::unique_ptr<std::function<void()>>(static_cast<std::function<void()>*>(p))->operator()();
            return 0;
        };
        handles.push_back(::CreateThread(nullptr, 0, run, new std::function<void()>(std::move(fn)), 0, nullptr));
    }
    bool JoinWithin(DWORD ms)
    {
        const DWORD waited = ::WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), TRUE, ms);
        for (HANDLE h : handles) ::CloseHandle(h);
        return waited == WAIT_OBJECT_0;
    }
};

// Windows add, replace and remove entries and answer close requests while another thread walks
// the registry and two threads close everything again and again. A lock held across the sends,
// or a walk racing a removal, hangs or crashes here.
TEST(OpenWindowRegistry, ConcurrentUseNeverDeadlocks)
{
    constexpr int Owners = 4, Keys = RegisteredWindow::KeysPerWindow;
    std::atomic<bool> stop{false};
    std::atomic<long> walks{0}, closeAlls{0};
    std::vector<std::unique_ptr<RegisteredWindow>> owners;
    Threads threads;
    for (int i = 0; i < Owners; ++i)
    {
        owners.push_back(std::unique_ptr<RegisteredWindow>(new RegisteredWindow{i}));
        threads.Start([&, w = owners.back().get()] {
            HWND h = w->Create();
            const CString value = FormatHandleText(h);
            CString found;
            for (unsigned n = 0; !stop; ++n)
            {
                OpenWindowRegistry.SetAt(w->Key(n % Keys), value);
                RegisteredWindow::Pump();
                OpenWindowRegistry.Lookup(w->Key((n + 1) % Keys), found);
                if (n % 3 == 0) OpenWindowRegistry.RemoveKey(w->Key((n + 2) % Keys));
                RegisteredWindow::Pump();
            }
            for (int k = 0; k < Keys; ++k) OpenWindowRegistry.RemoveKey(w->Key(k));
            ::DestroyWindow(h);
        });
    }
    for (int i = 0; i < 2; ++i)
        threads.Start([&] {
            for (; !stop; ++closeAlls) CloseAllColoredWindows();
        });
    threads.Start([&] {
        for (; !stop; ++walks) OpenWindowRegistry.GetWindows();
    });

    ::Sleep(1500);
    stop = true;
    ASSERT_TRUE(threads.JoinWithin(20000)) << "a thread hung: deadlock";
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 0);
    EXPECT_GT(walks, 0);
    EXPECT_GT(closeAlls, 0);
    int closes = 0;
    for (auto& w : owners) closes += w->closes;
    EXPECT_GT(closes, 0) << "the close-alls never reached a registered window";
}

} // namespace
