#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime_fixture.h"

namespace brindle {
namespace {

class Controls : public ::testing::Test, public RuntimeFixture {
protected:
    int clicks = 0;
    int ticks = 0;

    Controls() {
        probe.onBind = [this](FormFake& form) {
            form.Get<ComboBox>("cboPick").OnClick([this] { ++clicks; });
            form.Get<Timer>("tmrTick").OnTimer([this] { ++ticks; });
        };
        ComboBox& box = Combo();
        box.AddItem("5");
        box.AddItem("15");
    }

    ComboBox& Combo() { return probe.Get<ComboBox>("cboPick"); }
    Timer& Tick() { return probe.Get<Timer>("tmrTick"); }
};

TEST_F(Controls, PickingItemSetsTextThenRunsClick) {
    std::string textSeenByClick;
    Combo().OnClick([&] { textSeenByClick = Combo().Text(); });
    windows.PickItem(probe, "cboPick", "15");
    EXPECT_EQ(Combo().Text(), "15");
    EXPECT_EQ(textSeenByClick, "15");
}

TEST_F(Controls, PickIsIgnoredWhileListIsDisabled) {
    Combo().SetEnabled(false);
    windows.PickItem(probe, "cboPick", "15");
    EXPECT_EQ(Combo().Text(), "design text");
    EXPECT_EQ(clicks, 0);

    Combo().SetEnabled(true);
    windows.PickItem(probe, "cboPick", "15");
    EXPECT_EQ(clicks, 1);
}

TEST_F(Controls, PickBeyondTheListIsIgnored) {
    Combo().Pick(2);
    EXPECT_EQ(Combo().Text(), "design text");
    EXPECT_EQ(clicks, 0);
}

TEST_F(Controls, TypingChangesTextWithoutClickAndOnlyWhileEnabled) {
    windows.TypeText(probe, "cboPick", "7.5");
    EXPECT_EQ(Combo().Text(), "7.5");
    EXPECT_EQ(clicks, 0);

    Combo().SetEnabled(false);
    windows.TypeText(probe, "cboPick", "9");
    EXPECT_EQ(Combo().Text(), "7.5");
}

TEST_F(Controls, TimerTicksOnlyWhileEnabled) {
    // A tick already queued by the toolkit when the timer was switched off must not run.
    windows.FireTimer(probe, "tmrTick");
    EXPECT_EQ(ticks, 0);

    Tick().SetEnabled(true);
    windows.FireTimer(probe, "tmrTick");
    windows.FireTimer(probe, "tmrTick");
    EXPECT_EQ(ticks, 2);

    Tick().SetEnabled(false);
    windows.FireTimer(probe, "tmrTick");
    EXPECT_EQ(ticks, 2);
}

TEST_F(Controls, ButtonRunsItsClickOnlyWhenValueIsSetTrue) {
    int presses = 0;
    ProbeButton().OnClick([&] { ++presses; });
    ProbeButton().SetValue(false);
    EXPECT_EQ(presses, 0);
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

TEST_F(Menus, EntriesHangUnderTheirParentInStoredOrder) {
    std::vector<std::string> children;
    for (const MenuItem* child : Entry("mnuMenu").Children()) {
        children.push_back(child->Name());
    }
    EXPECT_EQ(children, (std::vector<std::string>{"mnuFirst", "mnuBar", "mnuLast"}));
    EXPECT_TRUE(Entry("mnuBar").IsSeparator());
    EXPECT_FALSE(Entry("mnuFirst").IsSeparator());
}

TEST_F(Menus, SeparatorCannotBeChosen) {
    Entry("mnuBar").RaiseClick();
    EXPECT_TRUE(chosen.empty());

    windows.ChooseOnNextPopup("mnuBar");
    probe.PopupMenu(Entry("mnuMenu"));
    EXPECT_TRUE(chosen.empty());
}

TEST_F(Menus, ChosenEntryRunsBeforePopupReturns) {
    windows.ChooseOnNextPopup("mnuLast");
    probe.PopupMenu(Entry("mnuMenu"));
    EXPECT_EQ(chosen, std::vector<std::string>{"mnuLast"});
    ASSERT_EQ(windows.popups.size(), 1u);
    EXPECT_EQ(windows.popups[0].window, "frmProbe");
    EXPECT_EQ(windows.popups[0].menu, "mnuMenu");
}

TEST_F(Menus, PopupClosedWithoutChoiceRunsNothing) {
    probe.PopupMenu(Entry("mnuMenu"));
    EXPECT_TRUE(chosen.empty());
    EXPECT_EQ(windows.popups.size(), 1u);
}

TEST_F(Menus, EntryThatUnloadsBothWindowsEndsProgramAfterPopupCloses) {
    int quitsInsideEntry = -1;
    int peersInsideEntry = -1;
    carrier.onBind = [&](FormFake& form) {
        form.Get<MenuItem>("mnuFirst").OnClick([&] {
            carrier.Unload();
            probe.Unload();
            quitsInsideEntry = windows.quitCount;
            peersInsideEntry = windows.livePeers;
        });
    };
    probe.Show();
    windows.ChooseOnNextPopup("mnuFirst");

    probe.PopupMenu(Entry("mnuMenu"));

    EXPECT_EQ(quitsInsideEntry, 0);
    EXPECT_EQ(peersInsideEntry, 2);
    EXPECT_EQ(windows.quitCount, 1);
    EXPECT_EQ(windows.livePeers, 0);
    EXPECT_EQ(runtime.LoadedWindowCount(), 0);
}

}  // namespace
}  // namespace brindle
