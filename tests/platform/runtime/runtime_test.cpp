#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_fixture.h"
#include "runtime/peer_rules.h"

namespace brindle {
namespace {

// The window runtime's rules, seen through the program's own windows on the fakes.
class RuntimeRules : public ::testing::Test, public ProgramFixture {
protected:
    std::vector<std::vector<std::int64_t>> WindowPositions() const {
        std::vector<std::vector<std::int64_t>> result;
        for (const DeclaredCall& call : os.CallsOf("SetWindowPos")) {
            result.push_back(call.arguments);
        }
        return result;
    }
};

TEST_F(RuntimeRules, TouchingAControlLoadsItsWindowHiddenAndAReloadRestoresItsDesign) {
    // The setup window, touched, is loaded hidden and filled by its Form_Load; so is the dialog
    // when its size is asked.
    EXPECT_EQ(dialog.Bounds().width, dialog.Layout().clientArea.width);
    setup.Combo1().SetText("typed");
    EXPECT_TRUE(setup.IsLoaded() && !setup.IsVisible());
    EXPECT_EQ(setup.Combo1().Items().size(), 60u);
    windows.ClearRecords();
    setup.Show();
    setup.Hide();
    setup.Show();
    setup.Combo2().SetEnabled(false);
    countDown.Label1().SetCaption("5 Min");
    dialog.DTPicker1().SetValue(MakeDateTime(2020, 1, 1, 0, 0, 0));
    EXPECT_EQ(setup.Combo1().Text(), "typed");
    // Every change reached its window's peer, in order.
    std::string told;
    for (const PeerUpdate& u : windows.updates) {
        told += u.window + "." +
                (u.control.empty() ? (u.visibility == Visibility::Visible ? "shown" : "hidden")
                                   : u.control) +
                " ";
    }
    EXPECT_EQ(
        told,
        "Form1.shown Form1.hidden Form1.shown Form1.Combo2 frmCountDown.Label1 frmRef.DTPicker1 ");
    // Unloaded and touched again, each window is its design once more, its lists not doubled.
    const std::size_t peers = windows.peersCreated.size();
    setup.Unload();
    dialog.Unload();
    EXPECT_EQ(setup.Combo1().Text() + "|" + setup.Combo1().Items()[59], "Time Frames|60");
    EXPECT_EQ(setup.Combo1().Items().size(), 60u);
    EXPECT_TRUE(setup.Combo2().Enabled());
    EXPECT_EQ(dialog.DTPicker1().Value(), MakeDateTime(2003, 11, 20, 0, 0, 0));
    EXPECT_FALSE(setup.IsVisible() || dialog.IsVisible());
    EXPECT_EQ(windows.peersCreated.size(), peers + 2);
    // A window still loaded keeps the program and its event loop going.
    program.runtime.Run();
    EXPECT_EQ(windows.processPendingEventsCount + windows.quitCount, 1);
}

TEST_F(RuntimeRules, AHandlerThatUnloadsEveryWindowRunsToItsEndAndTheProgramEndsOnce) {
    ChooseOnCountDown("mnuReferance");
    const int peers = windows.livePeers;
    std::vector<int> inside;
    // The countdown window's unload closes every other window, each of which closes the others.
    countDown.Colors().OnClick([&] {
        Label& label = countDown.Label1();
        countDown.Unload();
        inside = {windows.livePeers, windows.quitCount, countDown.IsLoaded() ? 1 : 0,
                  label.Caption() == "Label1" ? 1 : 0};
    });
    countDown.Colors().SetValue(true);
    EXPECT_EQ(inside, (std::vector<int>{peers, 0, 0, 1}));
    EXPECT_EQ(windows.livePeers, 0);
    // Unloading or closing what is gone does nothing.
    dialog.Unload();
    setup.UserClose();
    EXPECT_EQ(program.runtime.Run(), 0);
    EXPECT_EQ(windows.processPendingEventsCount, 0);
    ExpectProgramEnded();
}

TEST_F(RuntimeRules, ListsAndTimersAnswerTheUserOnlyWhileEnabled) {
    ChooseOnCountDown("mnuCT");
    windows.PickItem(setup, "Combo2", "40");
    windows.PickItem(setup, "Combo2", "60");
    windows.TypeText(setup, "Combo2", "50");
    EXPECT_EQ(setup.Combo2().Text() + "|" + countDown.alert().Text(), "40|40");
    // The loaded countdown's timer is off until an interval is picked.
    windows.FireTimer(countDown, "tmrDisplayTime");
    setup.Combo1().Pick(60);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "");
    EXPECT_FALSE(countDown.IsVisible());
    windows.TypeText(setup, "Combo1", "7.5");
    EXPECT_EQ(setup.Combo1().Text(), "7.5");
    EXPECT_FALSE(countDown.IsVisible());
}

TEST_F(RuntimeRules, PeersShowWhatAPersonCanReach) {
    EXPECT_EQ(ShiftMask({}), 0);
    EXPECT_EQ(ShiftMask({.shift = true}), 1);
    EXPECT_EQ(ShiftMask({.control = true}), 2);
    EXPECT_EQ(ShiftMask({.control = true, .alt = true}), 6);
    EXPECT_EQ(TwipsToPixels(855, 15), 57);
    EXPECT_EQ(TwipsToPixels(-8, 15), -1);
    EXPECT_EQ(TwipsToPixels(855, 7.5), 114);
    EXPECT_EQ(PixelsToTwips(57, 15), 855);
    const PixelPoint centre = CentredOrigin({64, 32, 960, 736}, 57, 39);
    EXPECT_EQ(std::vector<int>({centre.x, centre.y}), std::vector<int>({515, 380}));
    // Of the countdown window only its two labels can be seen; the timer is no widget, and the
    // first stored label is raised last, so Label1 lies in front where the two overlap.
    std::vector<std::string> seen;
    std::vector<std::string> raised;
    for (Control* c : BackToFront(countDown)) {
        raised.push_back(c->Name());
        if (CanBeSeen(*c)) {
            seen.push_back(c->Name());
        }
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"lblCountDown", "Label1"}));
    EXPECT_EQ(raised.size(), countDown.Controls().size() - 1);
    EXPECT_EQ(DescribingControl(setup.Combo2())->Name(), "Label2");
    // The z-order commands keep position and size, act on the handle they are given and load
    // their own window first.
    WindowHandle shown = countDown.hWnd();
    setup.Unload();
    os.Clear();
    setup.MakeNormal(shown);
    setup.MakeTopMost(shown);
    setup.TopMost(TopMostState::Normal);
    EXPECT_EQ(WindowPositions(), (std::vector<std::vector<std::int64_t>>{
                                     {setup.hWnd(), kInsertTopMost, 0, 0, 0, 0, 3},
                                     {shown, kInsertNotTopMost, 0, 0, 0, 0, 3},
                                     {shown, kInsertTopMost, 0, 0, 0, 0, 3},
                                     {setup.hWnd(), kInsertNotTopMost, 0, 0, 0, 0, 3}}));
}

}  // namespace
}  // namespace brindle
