#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime_fixture.h"

namespace brindle {
namespace {

class WindowInstance : public ::testing::Test, public RuntimeFixture {
protected:
    std::vector<Visibility> VisibilityChanges() const {
        std::vector<Visibility> result;
        for (const PeerUpdate& update : windows.updates) {
            if (update.control.empty()) {
                result.push_back(update.visibility);
            }
        }
        return result;
    }

    // Every control of the probe holds its design value.
    void ExpectProbeAtDesignValues() {
        EXPECT_EQ(ProbeLabel().Caption(), "design caption");
        EXPECT_EQ(ProbeLabel().ForeColor(), kDesignFore);
        EXPECT_EQ(ProbeLabel().BackColor(), kDesignBack);
        EXPECT_EQ(probe.Get<ComboBox>("cboPick").Text(), "design text");
        EXPECT_TRUE(probe.Get<ComboBox>("cboPick").Enabled());
        EXPECT_EQ(probe.Get<TextBox>("txtLead").Text(), "20");
        EXPECT_FALSE(probe.Get<Timer>("tmrTick").Enabled());
        EXPECT_EQ(probe.Get<Timer>("tmrTick").Interval(), 250);
        EXPECT_EQ(probe.Get<DatePicker>("dtpWhen").Value(), kDesignPickerValue);
    }
};

TEST_F(WindowInstance, TouchingControlOfUnloadedWindowLoadsItHiddenWithDesignValues) {
    std::string captionSeenByLoad;
    probe.onLoad = [&](FormFake& form) {
        captionSeenByLoad = form.Get<Label>("lblShow").Caption();
    };
    ProbeLabel();

    EXPECT_TRUE(probe.IsLoaded());
    EXPECT_FALSE(probe.IsVisible());
    // Form_Load already sees every control with its design value.
    EXPECT_EQ(captionSeenByLoad, "design caption");
    ExpectProbeAtDesignValues();
    EXPECT_EQ(windows.peersCreated, std::vector<std::string>{"frmProbe"});
    // Further touches find the window loaded; creating the controls told the peer nothing.
    EXPECT_EQ(probe.loadRuns, 1);
    EXPECT_TRUE(windows.updates.empty());

    // Asking another window for its handle or bounds loads it hidden too.
    const TwipsRect bounds = side.Bounds();
    EXPECT_TRUE(side.IsLoaded());
    EXPECT_FALSE(side.IsVisible());
    EXPECT_EQ(bounds.width, 600);
    EXPECT_NE(probe.hWnd(), side.hWnd());
    EXPECT_EQ(runtime.LoadedWindowCount(), 2);
}

TEST_F(WindowInstance, HideKeepsEverythingAndOnlyRealChangesOfVisibilityReachThePeer) {
    probe.Show();
    probe.Show();
    ProbeLabel().SetCaption("changed");
    probe.Hide();
    probe.Hide();
    EXPECT_TRUE(probe.IsLoaded());
    EXPECT_EQ(ProbeLabel().Caption(), "changed");
    probe.Show();

    EXPECT_EQ(VisibilityChanges(), (std::vector<Visibility>{Visibility::Visible, Visibility::Hidden,
                                                            Visibility::Visible}));
    EXPECT_EQ(probe.loadRuns, 1);
    EXPECT_EQ(probe.unloadRuns, 0);
}

TEST_F(WindowInstance, ReloadAfterUnloadRestoresDesignValues) {
    std::string captionSeenByUnload;
    probe.onUnload = [&](FormFake& form) {
        captionSeenByUnload = form.Get<Label>("lblShow").Caption();
    };
    probe.Show();
    ProbeLabel().SetCaption("changed");
    ProbeLabel().SetForeColor(0x00ABCDEF);
    probe.Get<ComboBox>("cboPick").SetText("typed");
    probe.Get<ComboBox>("cboPick").SetEnabled(false);
    probe.Get<TextBox>("txtLead").SetText("60");
    probe.Get<Timer>("tmrTick").SetEnabled(true);
    probe.Get<DatePicker>("dtpWhen").SetValue(MakeDateTime(2020, 1, 1, 12, 0, 0));
    side.Load();  // keeps the program alive, so the unload is not also the end

    probe.Unload();
    // Form_Unload still saw the controls' values, and touching them there loaded nothing.
    EXPECT_EQ(captionSeenByUnload, "changed");
    EXPECT_FALSE(probe.IsLoaded());
    EXPECT_TRUE(probe.Controls().empty());

    // The reloaded window comes back hidden, with a new peer and a second Form_Load.
    ExpectProbeAtDesignValues();
    EXPECT_FALSE(probe.IsVisible());
    EXPECT_EQ(probe.loadRuns, 2);
    EXPECT_EQ(probe.LoadCount(), 2u);
    EXPECT_EQ(windows.peersCreated, (std::vector<std::string>{"frmProbe", "frmSide", "frmProbe"}));
}

TEST_F(WindowInstance, UnloadOutsideAnyEventEndsProgramAtOnceWithTheLastWindow) {
    // An unloaded window that was never loaded, or is gone already, runs no handler; a user's
    // close request works as an unload.
    probe.Show();
    side.Unload();
    side.UserClose();
    EXPECT_EQ(side.loadRuns, 0);
    side.Show();
    side.Unload();
    side.Unload();
    EXPECT_EQ(side.unloadRuns, 1);
    EXPECT_EQ(windows.livePeers, 1);
    EXPECT_FALSE(runtime.HasEnded());

    probe.UserClose();
    EXPECT_FALSE(probe.IsLoaded());
    EXPECT_EQ(probe.unloadRuns, 1);
    EXPECT_EQ(windows.livePeers, 0);
    EXPECT_EQ(windows.quitCount, 1);
    EXPECT_TRUE(runtime.HasEnded());
}

TEST_F(WindowInstance, UnloadInsideFormUnloadCascadesAndNeverRecurses) {
    // Each window unloads the other when it goes, as the program's windows do.
    probe.onUnload = [&](FormFake&) { side.Unload(); };
    side.onUnload = [&](FormFake&) { probe.Unload(); };
    probe.Show();
    side.Show();

    probe.Unload();

    EXPECT_FALSE(side.IsLoaded());
    EXPECT_EQ(probe.unloadRuns, 1);
    EXPECT_EQ(side.unloadRuns, 1);
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
    EXPECT_EQ(windows.livePeers, 1);
}

TEST_F(WindowInstance, PeersGoAndProgramEndsOnceWhenOutermostEventIsOver) {
    std::vector<int> peersAndQuits;
    OnSidePress([&] {
        side.Unload();
        probe.Unload();
        peersAndQuits.insert(peersAndQuits.end(), {windows.livePeers, windows.quitCount});
    });
    OnProbeClick([&] {
        windows.PressLabel(side, "lblSide", MouseButton::Left);
        peersAndQuits.insert(peersAndQuits.end(), {windows.livePeers, windows.quitCount});
    });
    probe.Show();
    side.Show();

    ProbeButton().SetValue(true);

    // Inside the inner and the outer event both peers live and the program goes on.
    EXPECT_EQ(peersAndQuits, (std::vector<int>{2, 0, 2, 0}));
    EXPECT_EQ(windows.livePeers, 0);
    EXPECT_EQ(windows.quitCount, 1);
    EXPECT_TRUE(runtime.HasEnded());

    // Unloading windows that are already gone does not end the program a second time.
    probe.Unload();
    side.Unload();
    EXPECT_EQ(windows.quitCount, 1);
}

TEST_F(WindowInstance, CommandThatUnloadsEverythingAndShowsWindowAgainDoesNotEndProgram) {
    // 1. A "start over" command unloads every window, so for a moment none is loaded, and then
    //    shows one of them afresh.
    OnProbeClick([&] {
        probe.Unload();
        side.Unload();
        side.Show();
    });
    // 2. Both windows are on screen and the user gives the command.
    probe.Show();
    side.Show();
    ProbeButton().SetValue(true);

    // 3. The program goes on with the shown window and nothing else.
    EXPECT_EQ(windows.quitCount, 0);
    EXPECT_FALSE(runtime.HasEnded());
    EXPECT_TRUE(side.IsVisible());
    EXPECT_EQ(runtime.LoadedWindowCount(), 1);
    EXPECT_EQ(windows.livePeers, 1);
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
