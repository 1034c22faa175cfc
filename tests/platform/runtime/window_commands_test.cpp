#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/caption_drag.h"
#include "runtime_fixture.h"

namespace brindle {
namespace {

class ZOrder : public ::testing::Test, public RuntimeFixture {
protected:
    // The one SetWindowPos call expected: only the z-order changes, so position and size are
    // zero and ignored through the flags.
    void ExpectSingleZOrderCall(WindowHandle handle, std::int32_t insertAfter) {
        const auto calls = os.CallsOf("SetWindowPos");
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].arguments,
                  (std::vector<std::int64_t>{handle, insertAfter, 0, 0, 0, 0, 3}));
        EXPECT_EQ(os.calls.size(), 1u);
    }
};

TEST_F(ZOrder, TopMostPutsWindowIntoTopmostBand) {
    probe.TopMost(TopMostState::TopMost);
    ExpectSingleZOrderCall(probe.hWnd(), HWND_TOPMOST);
}

TEST_F(ZOrder, TopMostNormalTakesWindowOutOfTopmostBand) {
    probe.TopMost(TopMostState::Normal);
    ExpectSingleZOrderCall(probe.hWnd(), HWND_NOTOPMOST);
}

TEST_F(ZOrder, TopMostOnUnloadedWindowLoadsItHidden) {
    probe.TopMost(TopMostState::TopMost);
    EXPECT_TRUE(probe.IsLoaded());
    EXPECT_FALSE(probe.IsVisible());
    EXPECT_EQ(probe.loadRuns, 1);
}

TEST_F(ZOrder, MakeTopMostAndMakeNormalActOnTheHandleTheyAreGiven) {
    WindowHandle other = side.hWnd();
    probe.MakeTopMost(other);
    probe.MakeNormal(other);
    const auto calls = os.CallsOf("SetWindowPos");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].arguments, (std::vector<std::int64_t>{other, HWND_TOPMOST, 0, 0, 0, 0, 3}));
    EXPECT_EQ(calls[1].arguments,
              (std::vector<std::int64_t>{other, HWND_NOTOPMOST, 0, 0, 0, 0, 3}));
    // Acting on a handle touches nothing of the window that holds the methods.
    EXPECT_FALSE(probe.IsLoaded());
}

class CaptionDrag : public ::testing::Test, public RuntimeFixture {
protected:
    std::vector<std::string> steps;

    CaptionDrag() {
        // The probe's label starts the drag and carries the carrier's menu, as the program's
        // caption-less windows do.
        probe.onBind = [this](FormFake& form) {
            form.Get<Label>("lblShow").OnMouseDown(
                [this](MouseButton button, std::int16_t, float, float) {
                    LabelMouseDown(probe, button, carrier);
                });
        };
        carrier.onBind = [this](FormFake& form) {
            form.Get<MenuItem>("mnuFirst").OnClick([this] {
                steps.push_back("menu entry after " + std::to_string(os.calls.size()) + " calls");
            });
        };
        probe.Show();
        os.onCall = [this](const DeclaredCall& call) { steps.push_back(call.function); };
    }
};

TEST_F(CaptionDrag, LeftButtonStartsWindowMoveAndOpensNoMenu) {
    windows.PressLabel(probe, "lblShow", MouseButton::Left);

    EXPECT_EQ(steps, (std::vector<std::string>{"ReleaseCapture", "SendMessageA"}));
    const auto messages = os.CallsOf("SendMessageA");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].arguments, (std::vector<std::int64_t>{probe.hWnd(), 0xA1, 2, 0}));
    EXPECT_TRUE(windows.popups.empty());
    EXPECT_FALSE(carrier.IsLoaded());
}

TEST_F(CaptionDrag, MiddleButtonOpensNoMenu) {
    windows.PressLabel(probe, "lblShow", MouseButton::Middle);
    EXPECT_EQ(steps, (std::vector<std::string>{"ReleaseCapture", "SendMessageA"}));
    EXPECT_TRUE(windows.popups.empty());
}

TEST_F(CaptionDrag, RightButtonOpensCarriersMenuOnPressedWindowAfterTheMove) {
    windows.ChooseOnNextPopup("mnuFirst");

    windows.PressLabel(probe, "lblShow", MouseButton::Right);

    EXPECT_EQ(steps, (std::vector<std::string>{"ReleaseCapture", "SendMessageA",
                                               "menu entry after 2 calls"}));
    ASSERT_EQ(windows.popups.size(), 1u);
    EXPECT_EQ(windows.popups[0].window, "frmProbe");
    EXPECT_EQ(windows.popups[0].menu, "mnuMenu");
    // The carrier is loaded to reach its menu but never shown.
    EXPECT_TRUE(carrier.IsLoaded());
    EXPECT_FALSE(carrier.IsVisible());
}

}  // namespace
}  // namespace brindle
