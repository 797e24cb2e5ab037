// Dispatch through chained message maps on a real dialog window, and the
// error boundary that keeps C++ exceptions out of user32.
#include <gtest/gtest.h>
#include <stdexcept>
#include "framework/Framework.h"
#include "res/resource.h"
#include "tests/support/GuiSupport.h"

namespace {

constexpr UINT WM_PROBE = WM_APP + 1;
constexpr UINT WM_THROW = WM_APP + 2;
constexpr UINT IDC_PROBE = 4711;

class CBaseProbe : public CDialogEx
{
public:
    CBaseProbe() : CDialogEx(IDD_ABOUTBOX) {}
    static const AFX_MSGMAP* GetThisMessageMap()
    {
        using T = CBaseProbe;
        static const AFX_MSGMAP_ENTRY entries[] = {
            Raw<WM_PROBE, &T::OnProbeBase>(),
            Cmd<IDC_PROBE, &T::OnCommandBase>(),
        };
        static const AFX_MSGMAP map{&CDialogEx::GetThisMessageMap, entries};
        return &map;
    }
    const AFX_MSGMAP* GetMessageMap() const override { return GetThisMessageMap(); }

    LRESULT OnProbeBase(WPARAM, LPARAM) { return 1; }
    void OnCommandBase() { ++baseCommands; }
    int baseCommands = 0;
};

class CDerivedProbe : public CBaseProbe
{
public:
    static const AFX_MSGMAP* GetThisMessageMap()
    {
        using T = CDerivedProbe;
        static const AFX_MSGMAP_ENTRY entries[] = {
            Raw<WM_PROBE, &T::OnProbe>(),
            CmdCode<BN_DOUBLECLICKED, IDC_PROBE, &T::OnDoubleClicked>(),
            Raw<WM_THROW, &T::OnThrow>(),
            Msg<WM_CLOSE, &T::OnClose>(),
        };
        static const AFX_MSGMAP map{&CBaseProbe::GetThisMessageMap, entries};
        return &map;
    }
    const AFX_MSGMAP* GetMessageMap() const override { return GetThisMessageMap(); }

    LRESULT OnProbe(WPARAM wp, LPARAM) { return wp == 7 ? 2 : Default(); }
    void OnDoubleClicked() { ++doubleClicks; }
    LRESULT OnThrow(WPARAM, LPARAM) { throw std::runtime_error("handler failure"); }
    void OnClose() { DestroyWindow(); }
    int doubleClicks = 0;
};

TEST(MessageMap, DerivedEntriesComeFirstUnhandledOnesReachTheBaseAndExceptionsStop)
{
    CDerivedProbe dlg;
    ASSERT_TRUE(dlg.Create(IDD_ABOUTBOX));
    EXPECT_EQ(dlg.SendMessage(WM_PROBE, 7), 2) << "the derived class's entry wins";
    // Default() from a derived handler is the window's own processing, not the base entry.
    EXPECT_EQ(dlg.SendMessage(WM_PROBE, 1), 0);

    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PROBE, BN_CLICKED));
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PROBE, BN_DOUBLECLICKED));
    EXPECT_EQ(dlg.baseCommands, 1) << "a plain command reaches the base class's entry";
    EXPECT_EQ(dlg.doubleClicks, 1) << "a notification code is matched together with the id";
    // The error boundary keeps a handler's exception out of user32.
    EXPECT_EQ(dlg.SendMessage(WM_THROW), 0);
    EXPECT_TRUE(::IsWindow(dlg.m_hWnd)) << "the window lives on after the failed handler";
    dlg.SendMessage(WM_CLOSE);
    EXPECT_EQ(dlg.m_hWnd, nullptr) << "the object lets go of its window when it is destroyed";
}

TEST(MessageMap, TemporaryWrappersAreReusedPerHandleAndFreedOnRequest)
{
    HWND desktop = ::GetDesktopWindow();
    CWnd* a = CWnd::FromHandle(desktop);
    EXPECT_EQ(CWnd::FromHandle(desktop), a) << "one wrapper per handle";
    EXPECT_EQ(CWnd::FromHandlePermanent(desktop), nullptr) << "not owned by the program";
    EXPECT_EQ(a->m_hWnd, desktop);
    AfxDeleteTempMaps();
    CDerivedProbe dlg;
    ASSERT_TRUE(dlg.Create(IDD_ABOUTBOX));
    EXPECT_EQ(CWnd::FromHandle(dlg.m_hWnd), &dlg) << "an owned window maps to its object";
    dlg.SendMessage(WM_CLOSE);
}

} // namespace
