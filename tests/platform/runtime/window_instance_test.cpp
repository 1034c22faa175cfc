#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime_fixture.h"

namespace brindle {
namespace {

class WindowInstance : public ::testing::Test, public RuntimeFixture {};

TEST_F(WindowInstance, TouchingControlOfUnloadedWindowLoadsItHiddenWithDesignValues) {
    std::string captionSeenByLoad;
    probe.onLoad = [&](FormFake& form) {
        captionSeenByLoad = form.Get<Label>("lblShow").Caption();
    };
    ASSERT_FALSE(probe.IsLoaded());

    Label& label = ProbeLabel();

    EXPECT_TRUE(probe.IsLoaded());
    EXPECT_FALSE(probe.IsVisible());
    EXPECT_EQ(probe.loadRuns, 1);
    // Form_Load already sees every control with its design value.
    EXPECT_EQ(captionSeenByLoad, "design caption");
    EXPECT_EQ(label.Caption(), "design caption");
    EXPECT_EQ(label.ForeColor(), kDesignFore);
    EXPECT_EQ(label.BackColor(), kDesignBack);
    EXPECT_EQ(probe.Get<ComboBox>("cboPick").Text(), "design text");
    EXPECT_TRUE(probe.Get<ComboBox>("cboPick").Enabled());
    EXPECT_EQ(probe.Get<TextBox>("txtLead").Text(), "20");
    EXPECT_FALSE(probe.Get<Timer>("tmrTick").Enabled());
    EXPECT_EQ(probe.Get<Timer>("tmrTick").Interval(), 250);
    EXPECT_EQ(probe.Get<DatePicker>("dtpWhen").Value(), kDesignPickerValue);
    EXPECT_EQ(windows.peersCreated, std::vector<std::string>{"frmProbe"});
    EXPECT_EQ(runtime.LoadedWindowCount(), 1);

    // Further touches find the window loaded and do not run Form_Load again.
    ProbeButton();
    probe.Get<Timer>("tmrTick");
    EXPECT_EQ(probe.loadRuns, 1);
    EXPECT_EQ(windows.peersCreated.size(), 1u);
    // Creating the controls told the peer nothing: it builds its widgets from the controls.
    EXPECT_TRUE(windows.updates.empty());
}

TEST_F(WindowInstance, TouchingHandleOrGeometryOfUnloadedWindowLoadsItHidden) {
    const WindowHandle handle = probe.hWnd();
    EXPECT_TRUE(probe.IsLoaded());
    EXPECT_FALSE(probe.IsVisible());
    EXPECT_NE(handle, 0);

    const TwipsRect bounds = side.Bounds();
    EXPECT_TRUE(side.IsLoaded());
    EXPECT_FALSE(side.IsVisible());
    EXPECT_EQ(bounds.width, SideLayout().clientArea.width);

    EXPECT_EQ(probe.loadRuns, 1);
    EXPECT_EQ(side.loadRuns, 1);
    EXPECT_EQ(runtime.LoadedWindowCount(), 2);
    EXPECT_NE(probe.hWnd(), side.hWnd());
}

TEST_F(WindowInstance, ShowLoadsAndMakesVisibleAndHideKeepsEverything) {
    probe.Show();
    EXPECT_TRUE(probe.IsVisible());
    EXPECT_EQ(probe.loadRuns, 1);
    ProbeLabel().SetCaption("changed");
    probe.Get<Timer>("tmrTick").SetEnabled(true);

    probe.Hide();
    EXPECT_TRUE(probe.IsLoaded());
    EXPECT_FALSE(probe.IsVisible());
    EXPECT_EQ(ProbeLabel().Caption(), "changed");
    EXPECT_TRUE(probe.Get<Timer>("tmrTick").Enabled());

    probe.Show();
    EXPECT_TRUE(probe.IsVisible());
    EXPECT_EQ(ProbeLabel().Caption(), "changed");
    EXPECT_EQ(probe.loadRuns, 1);
    EXPECT_EQ(probe.unloadRuns, 0);
    EXPECT_EQ(windows.peersCreated.size(), 1u);

    std::vector<Visibility> shown;
    for (const PeerUpdate& update : windows.updates) {
        if (update.control.empty()) {
            shown.push_back(update.visibility);
        }
    }
    EXPECT_EQ(shown, (std::vector<Visibility>{Visibility::Visible, Visibility::Hidden,
                                              Visibility::Visible}));
}

TEST_F(WindowInstance, ShowingVisibleWindowOrHidingHiddenOneTellsPeerNothing) {
    probe.Show();
    probe.Show();
    side.Load();
    side.Hide();
    int visibilityChanges = 0;
    for (const PeerUpdate& update : windows.updates) {
        visibilityChanges += update.control.empty() ? 1 : 0;
    }
    EXPECT_EQ(visibilityChanges, 1);
}

TEST_F(WindowInstance, ReloadAfterUnloadRestoresDesignValues) {
    probe.Show();
    ProbeLabel().SetCaption("changed");
    ProbeLabel().SetForeColor(0x00ABCDEF);
    probe.Get<ComboBox>("cboPick").SetText("typed");
    probe.Get<ComboBox>("cboPick").SetEnabled(false);
    probe.Get<TextBox>("txtLead").SetText("60");
    probe.Get<Timer>("tmrTick").SetEnabled(true);
    probe.Get<DatePicker>("dtpWhen").SetValue(MakeDateTime(2020, 1, 1, 12, 0, 0));

    probe.Unload();
    EXPECT_FALSE(probe.IsLoaded());
    EXPECT_TRUE(probe.Controls().empty());

    EXPECT_EQ(ProbeLabel().Caption(), "design caption");
    EXPECT_EQ(ProbeLabel().ForeColor(), kDesignFore);
    EXPECT_EQ(probe.Get<ComboBox>("cboPick").Text(), "design text");
    EXPECT_TRUE(probe.Get<ComboBox>("cboPick").Enabled());
    EXPECT_EQ(probe.Get<TextBox>("txtLead").Text(), "20");
    EXPECT_FALSE(probe.Get<Timer>("tmrTick").Enabled());
    EXPECT_EQ(probe.Get<DatePicker>("dtpWhen").Value(), kDesignPickerValue);
    // The reloaded window comes back hidden, with a new peer and a second Form_Load.
    EXPECT_FALSE(probe.IsVisible());
    EXPECT_EQ(probe.loadRuns, 2);
    EXPECT_EQ(probe.LoadCount(), 2u);
    EXPECT_EQ(windows.peersCreated.size(), 2u);
}

TEST_F(WindowInstance, FormUnloadRunsWhileControlsStillHoldTheirValues) {
    std::string captionSeenByUnload;
    probe.onUnload = [&](FormFake& form) {
        captionSeenByUnload = form.Get<Label>("lblShow").Caption();
    };
    ProbeLabel().SetCaption("last words");
    side.Load();  // keeps the program alive, so the unload is not also the end

    probe.Unload();

    EXPECT_EQ(captionSeenByUnload, "last words");
    EXPECT_EQ(probe.unloadRuns, 1);
    // Touching a control inside Form_Unload must not have loaded a second instance.
    EXPECT_FALSE(probe.IsLoaded());
    EXPECT_EQ(probe.loadRuns, 1);
}

TEST_F(WindowInstance, UnloadingWindowTwiceOrNeverLoadedRunsNoHandler) {
    side.Load();
    probe.Unload();
    EXPECT_FALSE(probe.IsLoaded());
    EXPECT_EQ(probe.unloadRuns, 0);
    EXPECT_EQ(probe.loadRuns, 0);

    probe.Load();
    probe.Unload();
    probe.Unload();
    EXPECT_FALSE(probe.IsLoaded());
    EXPECT_EQ(probe.unloadRuns, 1);
    EXPECT_EQ(runtime.LoadedWindowCount(), 1);
    EXPECT_EQ(windows.quitCount, 0);
}

TEST_F(WindowInstance, UnloadInsideFormUnloadCascadesAndNeverRecurses) {
    // Each window unloads the other when it goes, as the program's windows do.
    probe.onUnload = [&](FormFake&) { side.Unload(); };
    side.onUnload = [&](FormFake&) { probe.Unload(); };
    probe.Show();
    side.Show();

    probe.Unload();

    EXPECT_FALSE(probe.IsLoaded());
    EXPECT_FALSE(side.IsLoaded());
    EXPECT_EQ(probe.unloadRuns, 1);
    EXPECT_EQ(side.unloadRuns, 1);
    EXPECT_EQ(runtime.LoadedWindowCount(), 0);
    EXPECT_EQ(windows.quitCount, 1);
    EXPECT_EQ(windows.livePeers, 0);
}

TEST_F(WindowInstance, FormLoadThatUnloadsItsOwnWindowLeavesItUnloaded) {
    side.Load();
    probe.onLoad = [](FormFake& form) { form.Unload(); };

    probe.Show();

    EXPECT_FALSE(probe.IsLoaded());
    EXPECT_FALSE(probe.IsVisible());
    EXPECT_EQ(probe.unloadRuns, 1);
    EXPECT_EQ(runtime.LoadedWindowCount(), 1);
}

TEST_F(WindowInstance, HandlerThatUnloadsItsOwnWindowRunsToItsEnd) {
    side.Load();
    std::vector<std::string> steps;
    OnProbeClick([&] {
        CommandButton& button = probe.Get<CommandButton>("cmdGo");
        Label& label = probe.Get<Label>("lblShow");
        probe.Unload();
        steps.push_back(probe.IsLoaded() ? "still loaded" : "unloaded");
        // The controls and the peer of the unloaded window outlive the handler that is running.
        steps.push_back(button.Caption());
        steps.push_back(label.Caption());
        steps.push_back(std::to_string(windows.livePeers));
    });

    ProbeButton().SetValue(true);

    EXPECT_EQ(steps, (std::vector<std::string>{"unloaded", "Go", "design caption", "2"}));
    EXPECT_FALSE(probe.IsLoaded());
    EXPECT_EQ(windows.livePeers, 1);
}

TEST_F(WindowInstance, PeersOfUnloadedWindowsAreDestroyedWhenOutermostEventEnds) {
    int peersDuringInnerEvent = -1;
    int peersAfterInnerEvent = -1;
    side.onBind = [&](FormFake& form) {
        form.Get<Label>("lblSide").OnMouseDown([&](MouseButton, std::int16_t, float, float) {
            side.Unload();
            peersDuringInnerEvent = windows.livePeers;
        });
    };
    OnProbeClick([&] {
        windows.PressLabel(side, "lblSide", MouseButton::Left);
        peersAfterInnerEvent = windows.livePeers;
    });
    probe.Show();
    side.Show();

    ProbeButton().SetValue(true);

    EXPECT_EQ(peersDuringInnerEvent, 2);
    EXPECT_EQ(peersAfterInnerEvent, 2);
    EXPECT_EQ(windows.livePeers, 1);
    EXPECT_FALSE(side.IsLoaded());
}

TEST_F(WindowInstance, UnloadOutsideAnyEventDestroysPeerAndEndsProgramAtOnce) {
    probe.Show();
    side.Show();
    side.Unload();
    EXPECT_EQ(windows.livePeers, 1);
    EXPECT_EQ(windows.quitCount, 0);
    EXPECT_FALSE(runtime.HasEnded());

    probe.Unload();
    EXPECT_EQ(windows.livePeers, 0);
    EXPECT_EQ(windows.quitCount, 1);
    EXPECT_TRUE(runtime.HasEnded());
}

TEST_F(WindowInstance, CommandThatUnloadsEverythingAndShowsWindowAgainDoesNotEndProgram) {
    // Steps of a "start over" command:
    int quitsInsideHandler = -1;
    OnProbeClick([&] {
        // 2. The command unloads every window, so for a moment none is loaded...
        probe.Unload();
        side.Unload();
        quitsInsideHandler = windows.quitCount;
        // 3. ...and then shows one of them afresh.
        side.Show();
    });
    // 1. Both windows are on screen.
    probe.Show();
    side.Show();

    ProbeButton().SetValue(true);

    // 4. The program goes on with the shown window and nothing else.
    EXPECT_EQ(quitsInsideHandler, 0);
    EXPECT_EQ(windows.quitCount, 0);
    EXPECT_FALSE(runtime.HasEnded());
    EXPECT_TRUE(side.IsVisible());
    EXPECT_FALSE(probe.IsLoaded());
    EXPECT_EQ(runtime.LoadedWindowCount(), 1);
    EXPECT_EQ(windows.livePeers, 1);
}

TEST_F(WindowInstance, ProgramEndsOnceWhenOutermostEventIsOver) {
    int quitsInsideInnerEvent = -1;
    int quitsAfterInnerEvent = -1;
    side.onBind = [&](FormFake& form) {
        form.Get<Label>("lblSide").OnMouseDown([&](MouseButton, std::int16_t, float, float) {
            side.Unload();
            probe.Unload();
            quitsInsideInnerEvent = windows.quitCount;
        });
    };
    OnProbeClick([&] {
        windows.PressLabel(side, "lblSide", MouseButton::Left);
        quitsAfterInnerEvent = windows.quitCount;
    });
    probe.Show();
    side.Show();

    ProbeButton().SetValue(true);

    EXPECT_EQ(quitsInsideInnerEvent, 0);
    EXPECT_EQ(quitsAfterInnerEvent, 0);
    EXPECT_EQ(windows.quitCount, 1);
    EXPECT_TRUE(runtime.HasEnded());
    EXPECT_EQ(runtime.LoadedWindowCount(), 0);
    EXPECT_EQ(windows.livePeers, 0);

    // Unloading windows that are already gone does not end the program a second time.
    probe.Unload();
    side.Unload();
    EXPECT_EQ(windows.quitCount, 1);
}

TEST_F(WindowInstance, UserCloseUnloadsWindowAndClosingUnloadedWindowDoesNothing) {
    probe.Show();
    side.UserClose();
    EXPECT_FALSE(side.IsLoaded());
    EXPECT_EQ(side.loadRuns, 0);

    probe.UserClose();
    EXPECT_FALSE(probe.IsLoaded());
    EXPECT_EQ(probe.unloadRuns, 1);
    EXPECT_EQ(windows.quitCount, 1);
    EXPECT_EQ(windows.livePeers, 0);
}

TEST_F(WindowInstance, RunReturnsAtOnceWhenNoWindowIsLoaded) {
    EXPECT_EQ(runtime.Run(), 0);
    EXPECT_EQ(windows.processPendingEventsCount, 0);
}

TEST_F(WindowInstance, PropertyChangesReachThePeerOfTheirOwnWindowInOrder) {
    side.Load();
    ProbeLabel().SetCaption("a");
    ProbeLabel().SetBackColor(0x00010203);
    side.Get<Label>("lblSide").SetForeColor(0x00040506);
    probe.Get<ComboBox>("cboPick").AddItem("1");
    probe.Get<DatePicker>("dtpWhen").SetValue(MakeDateTime(2010, 5, 5, 0, 0, 0));

    std::vector<std::string> seen;
    for (const PeerUpdate& update : windows.updates) {
        seen.push_back(update.window + "." + update.control);
    }
    EXPECT_EQ(seen,
              (std::vector<std::string>{"frmProbe.lblShow", "frmProbe.lblShow", "frmSide.lblSide",
                                        "frmProbe.cboPick", "frmProbe.dtpWhen"}));
    EXPECT_EQ(windows.updates[1].property, Property::BackColor);
    EXPECT_EQ(windows.updates[3].property, Property::Items);
}

}  // namespace
}  // namespace brindle
