// The Browser Launcher's copy action, seen from the clipboard. Opening the
// browser (ShellExecuteW) is deliberately never triggered here.
#include <gtest/gtest.h>
#include "help/BrowserLauncher.h"
#include "res/resource.h"
#include "tests/support/GuiSupport.h"

namespace {

std::wstring ClipboardText()
{
    if (!::OpenClipboard(nullptr)) return L"<clipboard busy>";
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    const auto* p = data ? static_cast<const WCHAR*>(::GlobalLock(data)) : nullptr;
    std::wstring text = p ? p : L"";
    if (p) ::GlobalUnlock(data);
    ::CloseClipboard();
    return text;
}

TEST(BrowserLauncher, CopyPutsExactlyTheUrlOnTheClipboardAndCloses)
{
    ClearClipboard();

    MessageBoxWatcher boxes;
    // A URL long enough that a wrong length or a missing terminator would show.
    const std::wstring url = L"https://umbrafen.example.org/share?from=test&text=" + std::wstring(300, L'x') + L"\u00e9";
    std::thread ui([&] { ShowBrowserLauncher(url.c_str(), nullptr); });

    HWND launcher = WaitForDialog(L"Browser Launcher - Umbrafen");
    EXPECT_NE(launcher, nullptr);
    if (launcher)
    {
        EXPECT_TRUE(::GetWindowLongW(::GetDlgItem(launcher, IDC_EDIT_URL), GWL_STYLE) & ES_READONLY);
        ClickButton(launcher, IDC_BTN_COPY_URL);
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(launcher); })) << "the launcher closes after copying";
        if (::IsWindow(launcher)) ::PostMessageW(launcher, WM_CLOSE, 0, 0);
    }
    ui.join();

    EXPECT_EQ(ClipboardText(), url);
    EXPECT_EQ(boxes.Count(), 0u) << "no error message";
}

} // namespace
