// Covers kept out of screen captures when Umbrafen.ini asks for it, shown through the real
// Show Window(s) path on the two-monitor desktop.
#include <windows.h>
#include <gtest/gtest.h>
#include "colorwin/FullScreenDialog.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "settings/Preferences.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/PromptStore.h"

namespace {

// Whether this system keeps a window out of captures at all; Wine 8 only has a stub that fails.
bool SystemExcludesFromCapture()
{
    HWND probe = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const bool ok = ::SetWindowDisplayAffinity(probe, WDA_EXCLUDEFROMCAPTURE) != FALSE;
    ::DestroyWindow(probe);
    return ok;
}

class CaptureExclusion : public PanelTest
{
protected:
    void BeforeOpen() override { AppSettings.AutoMinimize = 0; }
    void TearDown() override
    {
        Preferences = PreferencesRecord();
        PanelTest::TearDown();
    }
};

} // namespace

TEST_F(CaptureExclusion, CoversAskToStayOutOfCapturesOnlyWhenTheIniSaysSo)
{
    Suppress(PassthroughPromptKey);
    const bool supported = SystemExcludesFromCapture();
    if (!supported) std::printf("this system cannot exclude windows from capture: only the request is checked\n");
    Tick({true, true});
    std::vector<HWND> old;
    for (int exclude : {1, 0})
    {
        SCOPED_TRACE(exclude);
        Preferences.ExcludeFromCapture = exclude;
        ClickButton(Panel(), IDC_BTN_SHOW_WINDOWS);
        old = WaitForWindows({0, 1}, old);
        ASSERT_EQ(old.size(), 2u);
        for (HWND w : old)
        {
            auto* cover = dynamic_cast<CDlgFullScreenDialog*>(CWnd::FromHandlePermanent(w));
            ASSERT_NE(cover, nullptr);
            EXPECT_EQ(cover->m_bExcludeFromCapture, exclude);
            DWORD affinity = 0xFF;
            if (supported && ::GetWindowDisplayAffinity(w, &affinity))
            {
                EXPECT_EQ(affinity, exclude ? WDA_EXCLUDEFROMCAPTURE : WDA_NONE);
            }
        }
    }
}
