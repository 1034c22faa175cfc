#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime_fixture.h"

namespace brindle {
namespace {

class Controls : public ::testing::Test, public RuntimeFixture {
protected:
    std::vector<std::string> clicks;
    int ticks = 0;

    Controls() {
        probe.onBind = [this](FormFake& form) {
            form.Get<ComboBox>("cboPick").OnClick([this] { clicks.push_back(Combo().Text()); });
            form.Get<Timer>("tmrTick").OnTimer([this] { ++ticks; });
        };
        Combo().AddItem("5");
        Combo().AddItem("15");
    }

    ComboBox& Combo() { return probe.Get<ComboBox>("cboPick"); }
    Timer& Tick() { return probe.Get<Timer>("tmrTick"); }
};

TEST_F(Controls, PickSetsTextThenRunsClickOnlyWhileEnabledAndWithinTheList) {
    Combo().SetEnabled(false);
    windows.PickItem(probe, "cboPick", "15");
    Combo().SetEnabled(true);
    Combo().Pick(2);
    EXPECT_EQ(Combo().Text(), "design text");
    windows.PickItem(probe, "cboPick", "15");
    EXPECT_EQ(clicks, std::vector<std::string>{"15"});
}

TEST_F(Controls, TypingChangesTextWithoutClickAndOnlyWhileEnabled) {
    windows.TypeText(probe, "cboPick", "7.5");
    Combo().SetEnabled(false);
    windows.TypeText(probe, "cboPick", "9");
    EXPECT_EQ(Combo().Text(), "7.5");
    EXPECT_TRUE(clicks.empty());
}

TEST_F(Controls, TimerTicksOnlyWhileEnabled) {
    // A tick already queued by the toolkit when the timer was switched off must not run.
    windows.FireTimer(probe, "tmrTick");
    Tick().SetEnabled(true);
    windows.FireTimer(probe, "tmrTick");
    windows.FireTimer(probe, "tmrTick");
    Tick().SetEnabled(false);
    windows.FireTimer(probe, "tmrTick");
    EXPECT_EQ(ticks, 2);
}

TEST_F(Controls, ButtonRunsItsClickOnlyWhenValueIsSetTrue) {
    int presses = 0;
    ProbeButton().OnClick([&] { ++presses; });
    ProbeButton().SetValue(false);
    ProbeButton().SetValue(true);
    ProbeButton().SetValue(true);
    EXPECT_EQ(presses, 2);
}

TEST_F(Controls, UserEditOfPickerChangesValueWithoutTellingThePeer) {
    windows.ClearRecords();
    DatePicker& picker = probe.Get<DatePicker>("dtpWhen");
    const DateTime picked = MakeDateTime(2024, 6, 1, 8, 30, 0);
    picker.AcceptUserValue(picked);
    EXPECT_EQ(picker.Value(), picked);
    EXPECT_TRUE(windows.updates.empty());

    picker.SetValue(kDesignPickerValue);
    ASSERT_EQ(windows.updates.size(), 1u);
    EXPECT_EQ(windows.updates[0].property, Property::Value);
}

class Menus : public ::testing::Test, public RuntimeFixture {
protected:
    std::vector<std::string> chosen;

    Menus() {
        carrier.onBind = [this](FormFake& form) {
            for (const char* name : {"mnuFirst", "mnuBar", "mnuLast"}) {
                form.Get<MenuItem>(name).OnClick([this, name] { chosen.push_back(name); });
            }
        };
    }

    MenuItem& Entry(const char* name) { return carrier.Get<MenuItem>(name); }
};

TEST_F(Menus, ChosenEntryRunsBeforePopupReturnsAndSeparatorOrNoChoiceRunsNothing) {
    Entry("mnuBar").RaiseClick();
    windows.ChooseOnNextPopup("mnuBar");
    probe.PopupMenu(Entry("mnuMenu"));
    probe.PopupMenu(Entry("mnuMenu"));
    EXPECT_TRUE(chosen.empty());

    windows.ChooseOnNextPopup("mnuLast");
    probe.PopupMenu(Entry("mnuMenu"));
    EXPECT_EQ(chosen, std::vector<std::string>{"mnuLast"});
    ASSERT_EQ(windows.popups.size(), 3u);
    EXPECT_EQ(windows.popups[2].window, "frmProbe");
    EXPECT_EQ(windows.popups[2].menu, "mnuMenu");
}

TEST_F(Menus, EntryThatUnloadsBothWindowsEndsProgramAfterPopupCloses) {
    std::vector<int> quitsAndPeersInsideEntry;
    carrier.onBind = [&](FormFake& form) {
        form.Get<MenuItem>("mnuFirst").OnClick([&] {
            carrier.Unload();
            probe.Unload();
            quitsAndPeersInsideEntry = {windows.quitCount, windows.livePeers};
        });
    };
    probe.Show();
    windows.ChooseOnNextPopup("mnuFirst");

    probe.PopupMenu(Entry("mnuMenu"));

    EXPECT_EQ(quitsAndPeersInsideEntry, (std::vector<int>{0, 2}));
    EXPECT_EQ(windows.quitCount, 1);
    EXPECT_EQ(windows.livePeers, 0);
}

}  // namespace
}  // namespace brindle
