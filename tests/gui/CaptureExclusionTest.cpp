// Covers kept out of screen captures when Umbrafen.ini asks for it, shown through the real
// Show Window(s) path on the two-monitor desktop.
#include <windows.h>
#include <gtest/gtest.h>
#include "colorwin/FullScreenDialog.h"
#include "res/resource.h"
#include "settings/Preferences.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/PromptStore.h"

using CaptureExclusion = PanelTest;

// Wine 8 has only a stub (FALSE, error 8): there the request is checked on the cover itself.
TEST_F(CaptureExclusion, CoversAskToStayOutOfCapturesOnlyWhenTheIniSaysSo)
{
    HWND probe = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    const bool supported = ::SetWindowDisplayAffinity(probe, WDA_EXCLUDEFROMCAPTURE) != FALSE;
    ::DestroyWindow(probe);
    Suppress(PassthroughPromptKey);
    Tick({true, true});
    std::vector<HWND> covers;
    for (int exclude : {1, 0})
    {
        SCOPED_TRACE(exclude);
        Preferences.ExcludeFromCapture = exclude;
        ClickButton(Panel(), IDC_BTN_SHOW_WINDOWS);
        covers = WaitForWindows({0, 1}, covers);
        ASSERT_EQ(covers.size(), 2u);
        for (HWND w : covers)
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
