#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "form_fake.h"
#include "os_functions_fake.h"
#include "runtime/peer_rules.h"
#include "runtime/runtime.h"
#include "window_system_fake.h"

namespace brindle {

namespace {

ControlLayout Make(std::string name, ControlKind kind, std::string caption, TwipsRect bounds,
                   int tabIndex = -1, Focus focus = Focus::Accepts) {
    ControlLayout c;
    c.name = std::move(name);
    c.kind = kind;
    c.caption = std::move(caption);
    c.bounds = bounds;
    c.tabIndex = tabIndex;
    c.focus = focus;
    return c;
}

WindowLayout Window(std::string name, std::vector<ControlLayout> controls) {
    WindowLayout w;
    w.name = w.caption = std::move(name);
    w.clientArea = {0, 0, 1500, 900};
    w.controls = std::move(controls);
    return w;
}

// A window with one control of every kind. The list and the button take the focus; the box
// refuses it, the picker lies outside the window and the label never takes it.
const WindowLayout kProbe = [] {
    ControlLayout timer = Make("tmrTick", ControlKind::Timer, "", {});
    timer.timerInterval = 250;
    ControlLayout picker = Make("dtpWhen", ControlKind::DatePicker, "", {1500, 0, 900, 300}, 0);
    picker.pickerValue = MakeDateTime(2001, 2, 3, 4, 5, 6);
    return Window(
        "frmProbe",
        {Make("lblShow", ControlKind::Label, "design", {0, 0, 900, 300}, 3),
         Make("cmdGo", ControlKind::CommandButton, "Go", {0, 300, 900, 300}, 2),
         Make("cboPick", ControlKind::ComboBox, "list", {0, 600, 900, 300}, 1),
         Make("txtLead", ControlKind::TextBox, "20", {900, 0, 300, 300}, 0, Focus::Refuses), timer,
         picker});
}();
const WindowLayout kSide = Window("frmSide", {});

class RuntimeRules : public ::testing::Test {
protected:
    ClockFake clock;
    OsFunctionsFake os{clock};
    WindowSystemFake windows;
    Runtime runtime{windows, os, clock};
    FormFake probe{runtime, kProbe};
    FormFake side{runtime, kSide};

    Label& Caption() { return probe.Get<Label>("lblShow"); }
    ComboBox& List() { return probe.Get<ComboBox>("cboPick"); }
    void OnGo(std::function<void()> handler) {
        probe.onBind = [handler](FormFake& f) { f.Get<CommandButton>("cmdGo").OnClick(handler); };
    }
    void PressGo() { probe.Get<CommandButton>("cmdGo").SetValue(true); }
};

TEST_F(RuntimeRules, ReloadRestoresDesignValuesAndHideKeepsThem) {
    // Touching a control loads its window hidden, with the design values already in Form_Load.
    std::string seenByLoad;
    probe.onLoad = [&](FormFake& f) { seenByLoad = f.Get<Label>("lblShow").Caption(); };
    Caption().SetCaption("changed");
    EXPECT_EQ(seenByLoad, "design");
    EXPECT_FALSE(probe.IsVisible());
    probe.Show();
    probe.Hide();
    probe.Show();
    EXPECT_EQ(Caption().Caption(), "changed");
    List().SetText("typed");
    probe.Get<DatePicker>("dtpWhen").SetValue(MakeDateTime(2020, 1, 1, 0, 0, 0));
    probe.Get<Timer>("tmrTick").SetEnabled(true);
    // Every change reached the window's peer, in order.
    std::string told;
    for (const PeerUpdate& u : windows.updates) {
        told += (u.control.empty() ? (u.visibility == Visibility::Visible ? "shown" : "hidden")
                                   : u.control) +
                " ";
    }
    EXPECT_EQ(told, "lblShow shown hidden shown cboPick dtpWhen tmrTick ");
    side.Load();
    probe.Unload();
    EXPECT_EQ(Caption().Caption() + List().Text(), "designlist");
    EXPECT_EQ(probe.Get<DatePicker>("dtpWhen").Value(), MakeDateTime(2001, 2, 3, 4, 5, 6));
    EXPECT_FALSE(probe.Get<Timer>("tmrTick").Enabled() || probe.IsVisible());
    EXPECT_EQ(probe.loadRuns, 2);
    EXPECT_EQ(windows.peersCreated, (std::vector<std::string>{"frmProbe", "frmSide", "frmProbe"}));
    // A window still loaded keeps the program and its event loop going.
    runtime.Run();
    EXPECT_EQ(windows.processPendingEventsCount + windows.quitCount, 1);
}

TEST_F(RuntimeRules, UnloadsCascadeOnceAndTheProgramEndsOnceWhenTheOutermostEventIsOver) {
    probe.onUnload = [&](FormFake&) { side.Unload(); };
    side.onUnload = [&](FormFake&) { probe.Unload(); };
    // The handler runs to its end: the controls and peers of its unloaded window outlive it.
    std::vector<int> insideHandler;
    OnGo([&] {
        Label& label = Caption();
        probe.Unload();
        insideHandler = {windows.livePeers, windows.quitCount, probe.IsLoaded() ? 1 : 0,
                         label.Caption() == "design" ? 1 : 0};
    });
    probe.Show();
    side.Show();
    PressGo();
    EXPECT_EQ(insideHandler, (std::vector<int>{2, 0, 0, 1}));
    EXPECT_EQ(probe.unloadRuns + side.unloadRuns, 2);
    EXPECT_EQ(windows.livePeers, 0);
    EXPECT_TRUE(runtime.HasEnded());
    probe.Unload();
    side.UserClose();
    EXPECT_EQ(windows.quitCount, 1);
    EXPECT_EQ(runtime.Run(), 0);
    EXPECT_EQ(windows.processPendingEventsCount, 0);
}

TEST_F(RuntimeRules, ControlsAnswerTheUserOnlyWhileEnabled) {
    std::vector<std::string> clicks;
    int ticks = 0;
    probe.onBind = [&](FormFake& f) {
        f.Get<ComboBox>("cboPick").OnClick([&] { clicks.push_back(List().Text()); });
        f.Get<Timer>("tmrTick").OnTimer([&] { ++ticks; });
    };
    List().AddItem("5");
    List().AddItem("15");
    List().SetEnabled(false);
    windows.PickItem(probe, "cboPick", "15");
    windows.TypeText(probe, "cboPick", "9");
    windows.FireTimer(probe, "tmrTick");
    List().SetEnabled(true);
    probe.Get<Timer>("tmrTick").SetEnabled(true);
    windows.TypeText(probe, "cboPick", "7.5");
    EXPECT_EQ(List().Text(), "7.5");
    List().Pick(2);
    windows.PickItem(probe, "cboPick", "15");
    windows.FireTimer(probe, "tmrTick");
    EXPECT_EQ(clicks, std::vector<std::string>{"15"});
    EXPECT_EQ(ticks, 1);
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
    // Only the list and the button take the focus, the list first; the first stored control is
    // raised last, so it is in front.
    probe.Load();
    std::vector<std::string> focus;
    for (Control* c : TabOrder(probe)) {
        focus.push_back(c->Name());
    }
    EXPECT_EQ(focus, (std::vector<std::string>{"cboPick", "cmdGo"}));
    EXPECT_FALSE(CanBeSeen(probe.Get<DatePicker>("dtpWhen")));
    EXPECT_EQ(BackToFront(probe).back()->Name(), "lblShow");
    EXPECT_EQ(BackToFront(probe).size(), 5u);
    // The z-order commands keep position and size and act on the handle they are given.
    EXPECT_EQ(side.Bounds().width, 1500);
    EXPECT_FALSE(side.IsVisible());
    WindowHandle other = side.hWnd();
    os.Clear();
    side.MakeTopMost(other);
    probe.Unload();
    probe.MakeNormal(other);
    EXPECT_TRUE(probe.IsLoaded());
    probe.TopMost(TopMostState::Normal);
    std::vector<std::vector<std::int64_t>> calls;
    for (const DeclaredCall& call : os.calls) {
        calls.push_back(call.arguments);
    }
    EXPECT_EQ(calls, (std::vector<std::vector<std::int64_t>>{
                         {other, kInsertTopMost, 0, 0, 0, 0, 3},
                         {other, kInsertNotTopMost, 0, 0, 0, 0, 3},
                         {probe.hWnd(), kInsertNotTopMost, 0, 0, 0, 0, 3}}));
}

}  // namespace
}  // namespace brindle
