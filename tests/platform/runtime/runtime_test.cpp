#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_fixture.h"
#include "runtime/peer_rules.h"

namespace brindle {
namespace {

// The window runtime's rules, seen through the program's own windows on the fakes.
class RuntimeRules : public ::testing::Test, public ProgramFixture {};

TEST_F(RuntimeRules, TouchingAControlLoadsItsWindowHiddenAndAReloadMakesOneNativeWindow) {
    // The setup window, touched, is loaded hidden and filled by its Form_Load; so is the dialog
    // when its size is asked.
    EXPECT_EQ(dialog.Bounds().width, dialog.Layout().clientArea.width);
    setup.Combo1().SetText("typed");
    EXPECT_TRUE(setup.IsLoaded() && !OnScreen(setup));
    EXPECT_EQ(Shown(setup, "Combo1").text, "typed");
    setup.Show();
    setup.Hide();
    EXPECT_FALSE(OnScreen(setup));
    setup.Show();
    EXPECT_TRUE(OnScreen(setup));
    dialog.DTPicker1().SetValue(MakeDateTime(2020, 1, 1, 0, 0, 0));
    EXPECT_EQ(Shown(dialog, "DTPicker1").value, MakeDateTime(2020, 1, 1, 0, 0, 0));
    // Unloaded and loaded again, each window has one new native window.
    const int peers = windows.peersCreated;
    setup.Unload();
    dialog.Unload();
    EXPECT_FALSE(windows.screen.contains(setup.Name()) || windows.screen.contains(dialog.Name()));
    setup.Load();
    dialog.Load();
    EXPECT_EQ(windows.peersCreated, peers + 2);
    // A window still loaded keeps the program and its event loop going.
    program.runtime.Run();
    EXPECT_EQ(windows.processPendingEventsCount + windows.quitCount, 1);
}

TEST_F(RuntimeRules, AHandlerThatUnloadsEveryWindowRunsToItsEndAndTheProgramEndsOnce) {
    ChooseOnCountDown("mnuReferance");
    const std::size_t shown = windows.screen.size();
    std::vector<std::size_t> inside;
    // The countdown window's unload closes every other window, each of which closes the others.
    countDown.Colors().OnClick([&] {
        Label& label = countDown.Label1();
        countDown.Unload();
        inside = {windows.screen.size(), std::size_t(windows.quitCount), countDown.IsLoaded(),
                  label.Caption() == "Label1", OnScreen(countDown) || OnScreen(dialog)};
    });
    countDown.Colors().SetValue(true);
    // Their native windows were hidden at once and went when the handler was over.
    EXPECT_EQ(inside, (std::vector<std::size_t>{shown, 0, 0, 1, 0}));
    EXPECT_TRUE(windows.screen.empty());
    // Unloading or closing what is gone does nothing.
    dialog.Unload();
    setup.UserClose();
    EXPECT_EQ(program.runtime.Run(), 0);
    EXPECT_EQ(windows.processPendingEventsCount, 0);
    ExpectProgramEnded();
}

TEST_F(RuntimeRules, TheZOrderCommandsKeepPlaceActOnTheHandleGivenAndLoadTheirWindowFirst) {
    WindowHandle shown = countDown.hWnd();
    for (const std::int64_t band : {kNotTopMost, kTopMost}) {
        setup.Unload();
        os.Clear();
        band == kTopMost ? setup.MakeTopMost(shown) : setup.MakeNormal(shown);
        setup.TopMost(band == kTopMost ? TopMostState::TopMost : TopMostState::Normal);
        std::vector<std::vector<std::int64_t>> positions;
        for (const DeclaredCall& call : os.CallsOf("SetWindowPos")) {
            positions.push_back(call.arguments);
        }
        EXPECT_EQ(positions, (std::vector<std::vector<std::int64_t>>{
                                 {setup.hWnd(), kTopMost, 0, 0, 0, 0, kKeepPlace},
                                 {shown, band, 0, 0, 0, 0, kKeepPlace},
                                 {setup.hWnd(), band, 0, 0, 0, 0, kKeepPlace}}));
    }
}

TEST_F(RuntimeRules, ListsAndTimersAnswerTheUserOnlyWhileEnabled) {
    ChooseOnCountDown("mnuCT");
    windows.PickItem(setup, "Combo2", "40");
    windows.PickItem(setup, "Combo2", "60");
    setup.Combo2().AcceptTypedText("50");
    EXPECT_EQ(Shown(setup, "Combo2").text + "|" + countDown.alert().Text(), "40|40");
    // The loaded countdown's timer is off until an interval is picked, and a tick already queued
    // is ignored.
    countDown.tmrDisplayTime().RaiseTimer();
    setup.Combo1().Pick(60);
    EXPECT_EQ(Display(), "");
    EXPECT_FALSE(Shown(countDown, "tmrDisplayTime").enabled || OnScreen(countDown));
}

TEST_F(RuntimeRules, PeersShowWhatAPersonCanReach) {
    EXPECT_EQ(ShiftMask({}), 0);
    EXPECT_EQ(ShiftMask({.shift = true}), 1);
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
}

}  // namespace
}  // namespace brindle
