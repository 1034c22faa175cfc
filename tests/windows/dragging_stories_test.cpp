#include <cstddef>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "story_fixture.h"

namespace brindle {
namespace {

const char* const kCountDownLabels[] = {"Label1", "lblCountDown"};
const char* const kSetupLabels[] = {"Label1", "Label2", "Label3", "Label4"};

class DraggingStories : public ::testing::Test, public StoryFixture {
protected:
    DraggingStories() {
        windows.onPopup = [this](Form& window, MenuItem& menu) {
            popupMenus.push_back(&menu);
            callsBeforePopup.push_back(os.calls.size());
            popupOnVisibleWindow.push_back(window.IsVisible());
        };
    }

    // Asserts that the calls since `from` are exactly the move request for window: capture
    // released, then a title-bar press sent to the window's handle.
    void ExpectOneMoveRequest(Form& window, std::size_t from, const std::string& what) {
        ASSERT_EQ(os.calls.size(), from + 2) << what;
        EXPECT_EQ(os.calls[from].function, "ReleaseCapture") << what;
        const DeclaredCall& send = os.calls[from + 1];
        EXPECT_EQ(send.function, "SendMessageA") << what;
        EXPECT_EQ(send.arguments, (std::vector<std::int64_t>{window.hWnd(), 0xA1, 2, 0})) << what;
    }

    std::vector<const MenuItem*> popupMenus;
    std::vector<std::size_t> callsBeforePopup;
    std::vector<bool> popupOnVisibleWindow;
};

TEST_F(DraggingStories, LeftAndMiddlePressesOnCountdownLabelsOnlyMoveTheWindow) {
    for (const char* label : kCountDownLabels) {
        for (MouseButton button : {MouseButton::Left, MouseButton::Middle}) {
            // The user presses the label with the left or middle button.
            const std::size_t from = os.calls.size();
            windows.PressLabel(countDown, label, button);

            // The window system is asked once to move the window; no menu opens.
            ExpectOneMoveRequest(countDown, from, label);
        }
    }
    EXPECT_TRUE(windows.popups.empty());
    EXPECT_FALSE(menuCarrier.IsLoaded());
}

TEST_F(DraggingStories, LeftAndMiddlePressesOnSetupLabelsOnlyMoveTheWindow) {
    ChooseOnCountDown("mnuCT");
    windows.ClearRecords();
    for (const char* label : kSetupLabels) {
        for (MouseButton button : {MouseButton::Left, MouseButton::Middle}) {
            // The user presses the label with the left or middle button.
            const std::size_t from = os.calls.size();
            windows.PressLabel(setup, label, button);

            // The window system is asked once to move the setup window; no menu opens.
            ExpectOneMoveRequest(setup, from, label);
        }
    }
    EXPECT_TRUE(windows.popups.empty());
    EXPECT_TRUE(setup.IsVisible());
}

TEST_F(DraggingStories, RightPressesMoveThenOpenTheSameMenuOnEitherWindow) {
    // The user right-presses each countdown label and closes the menu each time.
    for (const char* label : kCountDownLabels) {
        const std::size_t from = os.calls.size();
        const std::size_t popups = windows.popups.size();
        windows.PressLabel(countDown, label, MouseButton::Right);

        // The move request comes first, then the menu opens on the countdown window.
        ASSERT_EQ(windows.popups.size(), popups + 1) << label;
        EXPECT_EQ(callsBeforePopup.back(), from + 2) << label;
        ExpectOneMoveRequest(countDown, from, label);
        EXPECT_EQ(windows.popups.back().window, "frmCountDown");
        EXPECT_EQ(windows.popups.back().menu, "mnuMenu");
    }
    // One hidden menu carrier serves both labels with one menu.
    EXPECT_EQ(popupMenus[0], popupMenus[1]);
    EXPECT_EQ(popupMenus[0], &menuCarrier.mnuMenu());
    EXPECT_EQ(PeersCreatedFor("frmMenu"), 1u);
    EXPECT_FALSE(menuCarrier.IsVisible());

    // The user chooses "Change Time", which closes the menu carrier too.
    ChooseOnCountDown("mnuCT");
    ASSERT_FALSE(countDown.IsLoaded());

    // The user right-presses each setup label and closes the menu each time.
    const std::size_t firstSetupPopup = popupMenus.size();
    for (const char* label : kSetupLabels) {
        const std::size_t from = os.calls.size();
        const std::size_t popups = windows.popups.size();
        windows.PressLabel(setup, label, MouseButton::Right);

        ASSERT_EQ(windows.popups.size(), popups + 1) << label;
        EXPECT_EQ(callsBeforePopup.back(), from + 2) << label;
        ExpectOneMoveRequest(setup, from, label);
        EXPECT_EQ(windows.popups.back().window, "Form1");
        EXPECT_EQ(windows.popups.back().menu, "mnuMenu");
    }
    // A new menu carrier was loaded once and its one menu serves all four labels.
    EXPECT_EQ(PeersCreatedFor("frmMenu"), 2u);
    for (std::size_t i = firstSetupPopup; i < popupMenus.size(); ++i) {
        EXPECT_EQ(popupMenus[i], popupMenus[firstSetupPopup]);
    }
    EXPECT_EQ(popupMenus[firstSetupPopup], &menuCarrier.mnuMenu());
    for (bool visible : popupOnVisibleWindow) {
        EXPECT_TRUE(visible);
    }
}

}  // namespace
}  // namespace brindle
