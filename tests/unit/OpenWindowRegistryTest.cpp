// The open-window registry under the conditions the program puts it in: windows
// on threads of their own that unregister themselves while a close request waits
// for them, and close-alls running from several threads at once.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "colorwin/OpenWindowRegistry.h"
#include "display/HandleText.h"

namespace {

// A window on a thread of its own that behaves towards the registry as a coloured
// window does: WM_CLOSE removes its entries. It is destroyed only when the thread ends.
class RegisteredWindowThread
{
public:
    RegisteredWindowThread(int id, bool destroyOnClose) : m_id(id), m_destroyOnClose(destroyOnClose) {}

    static LRESULT CALLBACK WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
    {
        auto* self = reinterpret_cast<RegisteredWindowThread*>(::GetWindowLongPtrW(h, GWLP_USERDATA));
        if (msg == WM_CLOSE && self)
        {
            ++self->m_closes;
            for (int i = 0; i < KeysPerWindow; ++i) OpenWindowRegistry.RemoveKey(self->Key(i));
            if (self->m_destroyOnClose) ::DestroyWindow(h);
            return 0;
        }
        return ::DefWindowProcW(h, msg, wp, lp);
    }

    HWND Create()
    {
        static const ATOM atom = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = &RegisteredWindowThread::WndProc;
            wc.lpszClassName = L"UmbrafenRegistryTestWindow";
            return ::RegisterClassW(&wc);
        }();
        HWND h = ::CreateWindowExW(0, MAKEINTATOM(atom), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ::SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        return h;
    }

    CString Key(int i) const
    {
        CString key;
        key.Format(L"%d", 1000 + m_id * KeysPerWindow + i);
        return key;
    }

    static void Pump()
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    }

    static constexpr int KeysPerWindow = 3;
    const int m_id;
    const bool m_destroyOnClose;
    std::atomic<int> m_closes{0};
};

} // namespace

TEST(OpenWindowRegistry, SameMonitorKeyReplacesAndWalkYieldsWindowHandles)
{
    ASSERT_EQ(OpenWindowRegistry.GetCount(), 0);
    HWND a = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x10072));
    HWND b = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x200a4));
    OpenWindowRegistry.SetAt(L"65537", FormatHandleText(a));
    OpenWindowRegistry.SetAt(L"65537", FormatHandleText(b));
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 1);
    CString value;
    ASSERT_TRUE(OpenWindowRegistry.Lookup(L"65537", value));
    EXPECT_STREQ(value, L"131236");
    const std::vector<HWND> windows = OpenWindowRegistry.GetWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0], b);
    EXPECT_TRUE(OpenWindowRegistry.RemoveKey(L"65537"));
    EXPECT_FALSE(OpenWindowRegistry.Lookup(L"65537", value));
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 0);
}

TEST(OpenWindowRegistry, CloseAllReturnsOnlyAfterEveryWindowUnregisteredItself)
{
    EXPECT_FALSE(CloseAllColoredWindows()) << "empty registry";

    constexpr int N = 3;
    std::vector<std::unique_ptr<RegisteredWindowThread>> owners;
    std::vector<std::thread> threads;
    std::atomic<int> ready{0};
    std::atomic<bool> stop{false};
    for (int i = 0; i < N; ++i)
    {
        owners.push_back(std::make_unique<RegisteredWindowThread>(i, true));
        threads.emplace_back([&, w = owners.back().get()] {
            HWND h = w->Create();
            OpenWindowRegistry.SetAt(w->Key(0), FormatHandleText(h));
            ++ready;
            while (!stop)
            {
                RegisteredWindowThread::Pump();
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            }
            if (::IsWindow(h)) ::DestroyWindow(h);
        });
    }
    while (ready < N) ::Sleep(1);
    ASSERT_EQ(OpenWindowRegistry.GetCount(), N);

    EXPECT_TRUE(CloseAllColoredWindows());
    // No waiting here: the sends were synchronous.
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 0);
    for (auto& w : owners) EXPECT_EQ(w->m_closes, 1);
    EXPECT_FALSE(CloseAllColoredWindows());

    stop = true;
    for (auto& t : threads) t.join();
}

// Windows add, replace and remove entries and answer close requests while other
// threads walk the registry and two threads close everything again and again.
// A lock held across the sends, or a walk racing a removal, hangs or crashes here.
TEST(OpenWindowRegistry, ConcurrentUseNeverDeadlocks)
{
    constexpr int Owners = 4;
    constexpr DWORD RunMs = 1500;
    std::atomic<bool> stop{false};
    std::atomic<long> walks{0}, closeAlls{0};
    std::vector<std::unique_ptr<RegisteredWindowThread>> owners;
    std::vector<HANDLE> handles;

    auto start = [&](auto fn) {
        auto* heapFn = new std::function<void()>(fn);
        HANDLE h = ::CreateThread(
            nullptr, 0,
            [](LPVOID p) -> DWORD {
                auto* f = static_cast<std::function<void()>*>(p);
                (*f)();
                delete f;
                return 0;
            },
            heapFn, 0, nullptr);
        handles.push_back(h);
    };

    for (int i = 0; i < Owners; ++i)
    {
        owners.push_back(std::make_unique<RegisteredWindowThread>(i, false));
        start([&, w = owners.back().get()] {
            HWND h = w->Create();
            const CString value = FormatHandleText(h);
            CString found;
            for (unsigned n = 0; !stop; ++n)
            {
                OpenWindowRegistry.SetAt(w->Key(n % RegisteredWindowThread::KeysPerWindow), value);
                RegisteredWindowThread::Pump();
                OpenWindowRegistry.Lookup(w->Key((n + 1) % RegisteredWindowThread::KeysPerWindow), found);
                if (n % 3 == 0) OpenWindowRegistry.RemoveKey(w->Key((n + 2) % RegisteredWindowThread::KeysPerWindow));
                RegisteredWindowThread::Pump();
            }
            for (int k = 0; k < RegisteredWindowThread::KeysPerWindow; ++k) OpenWindowRegistry.RemoveKey(w->Key(k));
            ::DestroyWindow(h);
        });
    }
    for (int i = 0; i < 2; ++i)
        start([&] {
            while (!stop)
            {
                CloseAllColoredWindows();
                ++closeAlls;
            }
        });
    start([&] {
        while (!stop)
        {
            for (HWND h : OpenWindowRegistry.GetWindows()) (void)h;
            (void)OpenWindowRegistry.GetCount();
            ++walks;
        }
    });

    ::Sleep(RunMs);
    stop = true;
    const DWORD waited = ::WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), TRUE, 20000);
    ASSERT_EQ(waited, WAIT_OBJECT_0) << "a thread hung: deadlock";
    for (HANDLE h : handles) ::CloseHandle(h);

    EXPECT_EQ(OpenWindowRegistry.GetCount(), 0);
    EXPECT_GT(walks, 0);
    EXPECT_GT(closeAlls, 0);
    int closes = 0;
    for (auto& w : owners) closes += w->m_closes;
    EXPECT_GT(closes, 0) << "the close-alls never reached a registered window";
}
