// The control panel's topology box over a scripted desktop: which entry shows
// the topology in force, and what a choice asks of the platform.
#include <gtest/gtest.h>
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/GuiSupport.h"

namespace {

class TopologyCombo : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetAppSettings();
        desktop.AddMonitor(L"Left", {0, 0, 1920, 1080});
        desktop.AddMonitor(L"Right", {1920, 0, 3200, 1024});
    }
    void TearDown() override { ResetAppSettings(); }

    static HWND Combo(const PanelThread& panel) { return ::GetDlgItem(panel.Hwnd(), IDC_COMBO_TOPOLOGY); }
    static int Selection(const PanelThread& panel) { return static_cast<int>(::SendMessageW(Combo(panel), CB_GETCURSEL, 0, 0)); }
    static void Choose(const PanelThread& panel, int index)
    {
        ::SendMessageW(Combo(panel), CB_SETCURSEL, index, 0);
        ::SendMessageW(panel.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_COMBO_TOPOLOGY, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Combo(panel)));
    }

    FakeDesktop desktop;
};

TEST_F(TopologyCombo, ShowsTheTopologyInForceOrNothingItKnows)
{
    desktop.CurrentTopology = DISPLAYCONFIG_TOPOLOGY_EXTEND;
    {
        PanelThread panel;
        ASSERT_NE(panel.Hwnd(), nullptr);
        EXPECT_EQ(::SendMessageW(Combo(panel), CB_GETCOUNT, 0, 0), 5);
        EXPECT_EQ(Selection(panel), 1) << "Extend";
        EXPECT_TRUE(::IsWindowEnabled(Combo(panel)));
        EXPECT_EQ(static_cast<UINT32>(::SendMessageW(Combo(panel), CB_GETITEMDATA, 4, 0)), 0xFFFFFFFFu) << "Forced";
    }
    desktop.CurrentTopology = static_cast<DISPLAYCONFIG_TOPOLOGY_ID>(0);
    {
        PanelThread panel;
        EXPECT_EQ(Selection(panel), CB_ERR) << "an id no entry carries selects nothing";
        EXPECT_TRUE(::IsWindowEnabled(Combo(panel)));
    }
    desktop.CurrentTopologyFails = true;
    {
        PanelThread panel;
        EXPECT_EQ(Selection(panel), CB_ERR);
        EXPECT_FALSE(::IsWindowEnabled(Combo(panel))) << "greyed out while the topology cannot be read";
    }
}

TEST_F(TopologyCombo, AChoiceIsValidatedBeforeItIsAppliedAndTheBoxFollowsThePlatform)
{
    desktop.CurrentTopology = DISPLAYCONFIG_TOPOLOGY_EXTEND;
    PanelThread panel;
    ASSERT_NE(panel.Hwnd(), nullptr);

    desktop.ValidateResult = ERROR_GEN_FAILURE;
    Choose(panel, 0);   // Duplicate
    EXPECT_EQ(desktop.SetDisplayConfigFlags, (std::vector<UINT32>{0x2u | 0x40u})) << "not applied after a failed validation";
    EXPECT_EQ(Selection(panel), 1) << "back to the topology in force";

    desktop.ValidateResult = ERROR_SUCCESS;
    desktop.SetDisplayConfigFlags.clear();
    Choose(panel, 0);
    EXPECT_EQ(desktop.SetDisplayConfigFlags, (std::vector<UINT32>{0x2u | 0x40u, 0x2u | 0x80u}));
    EXPECT_EQ(Selection(panel), 0) << "the box shows the new topology";
}

} // namespace
