#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "program_fixture.h"

namespace brindle {
namespace {

class DraggingStories : public ::testing::Test, public ProgramFixture {
protected:
    // The declared calls and the popups in the order they happened, each naming its window.
    std::vector<std::string> steps;
    std::vector<const MenuItem*> popupMenus;

    DraggingStories() {
        os.onCall = [this](const DeclaredCall& call) {
            if (call.function == "SendMessageA") {
                const bool titleBarPress =
                    call.arguments[1] == 0xA1 && call.arguments[2] == 2 && call.arguments[3] == 0;
                steps.push_back(std::string(titleBarPress ? "title bar press" : "other message") +
                                " to " + NameOf(call.arguments[0]));
            } else {
                steps.push_back(call.function);
            }
        };
        windows.onPopup = [this](Form& window, MenuItem& menu) {
            steps.push_back("menu " + menu.Name() + " on " + window.Name() +
                            (window.IsVisible() ? "" : " (hidden)"));
            popupMenus.push_back(&menu);
        };
    }

    // Asks only loaded windows for their handle: asking an unloaded one would load it.
    std::string NameOf(std::int64_t handle) {
        for (Form* window : {static_cast<Form*>(&countDown), static_cast<Form*>(&setup)}) {
            if (window->IsLoaded() && window->hWnd() == handle) {
                return window->Name();
            }
        }
        return "another window";
    }

    // Presses each label with every button and closes any menu unchosen.
    void PressEveryLabel(Form& window, const std::vector<std::string>& labels) {
        for (const std::string& label : labels) {
            for (MouseButton button :
                 {MouseButton::Left, MouseButton::Middle, MouseButton::Right}) {
                steps.clear();
                windows.PressLabel(window, label, button);

                // The window system is asked once to move the window; a right press then opens
                // the context menu on it.
                std::vector<std::string> expected{"ReleaseCapture",
                                                  "title bar press to " + window.Name()};
                if (button == MouseButton::Right) {
                    expected.push_back("menu mnuMenu on " + window.Name());
                }
                EXPECT_EQ(steps, expected) << label;
            }
        }
    }
};

TEST_F(DraggingStories, PressesOnEveryLabelMoveTheWindowAndRightPressesOpenTheMenu) {
    // The user presses both labels of the countdown window with each button.
    PressEveryLabel(countDown, {"Label1", "lblCountDown"});

    // One hidden menu carrier serves both labels with its one menu.
    ASSERT_EQ(popupMenus.size(), 2u);
    EXPECT_EQ(popupMenus[0], popupMenus[1]);
    EXPECT_EQ(popupMenus[0], &menuCarrier.mnuMenu());
    EXPECT_FALSE(menuCarrier.IsVisible());

    // The user opens the setup window and presses its four labels with each button.
    ChooseOnCountDown("mnuCT");
    popupMenus.clear();
    PressEveryLabel(setup, {"Label1", "Label2", "Label3", "Label4"});

    // A new menu carrier was loaded once and its one menu serves all four labels.
    EXPECT_EQ(PeersCreatedFor("frmMenu"), 2u);
    ASSERT_EQ(popupMenus.size(), 4u);
    for (const MenuItem* menu : popupMenus) {
        EXPECT_EQ(menu, &menuCarrier.mnuMenu());
    }
}

}  // namespace
}  // namespace brindle
