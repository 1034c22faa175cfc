#include "runtime/peer_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_fixture.h"

namespace brindle {
namespace {

std::vector<std::string> NamesOf(const std::vector<Control*>& controls) {
    std::vector<std::string> names;
    for (const Control* control : controls) {
        names.push_back(control->Name());
    }
    return names;
}

TEST(PeerRules, ModifierMaskIsShiftOneCtrlTwoAltFour) {
    struct Row {
        ModifierKeys keys;
        std::int16_t mask;
    };
    const std::vector<Row> rows = {
        {{false, false, false}, 0}, {{true, false, false}, 1}, {{false, true, false}, 2},
        {{false, false, true}, 4},  {{true, true, false}, 3},  {{true, false, true}, 5},
        {{false, true, true}, 6},   {{true, true, true}, 7},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ShiftMask(row.keys), row.mask);
    }
}

TEST(PeerRules, TwipsBecomeTheNearestWholePixelAtAnyScale) {
    struct Row {
        float twips;
        float twipsPerPixel;
        int pixels;
    };
    const std::vector<Row> rows = {
        {855, 15, 57},   {585, 15, 39},   {7, 15, 0}, {8, 15, 1},      {-8, 15, -1},
        {855, 7.5, 114}, {4065, 12, 339}, {0, 15, 0}, {1440, 10, 144},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(TwipsToPixels(row.twips, row.twipsPerPixel), row.pixels)
            << row.twips << " at " << row.twipsPerPixel;
    }
    EXPECT_EQ(PixelsToTwips(57, 15), 855);
    const PixelRect rect = ToPixels({150, 300, 855, 585}, 15);
    EXPECT_EQ(std::vector<int>({rect.left, rect.top, rect.width, rect.height}),
              std::vector<int>({10, 20, 57, 39}));
}

TEST(PeerRules, CentringPutsTheWindowInTheMiddleOfTheWorkArea) {
    // A work area that starts below a top panel and right of a side panel.
    const PixelRect workArea{64, 32, 960, 736};
    const PixelPoint origin = CentredOrigin(workArea, 57, 39);
    EXPECT_EQ(origin.x, 64 + (960 - 57) / 2);
    EXPECT_EQ(origin.y, 32 + (736 - 39) / 2);
    // The gaps either side differ by at most a pixel.
    EXPECT_LE(std::abs((origin.x - 64) - (64 + 960 - origin.x - 57)), 1);
    // A window larger than the work area is centred too, reaching past both edges.
    const PixelPoint large = CentredOrigin({0, 0, 100, 100}, 300, 120);
    EXPECT_EQ(large.x, -100);
    EXPECT_EQ(large.y, -10);
}

TEST(PeerRules, OnlyControlsInsideTheirWindowCanBeSeen) {
    ProgramFixture program;
    std::vector<std::string> hidden;
    for (const auto& control : program.countDown.Controls()) {
        if (!CanBeSeen(*control)) {
            hidden.push_back(control->Name());
        }
    }
    // The six code-only buttons and the lead box lie outside the window; a timer is no widget.
    EXPECT_EQ(hidden, (std::vector<std::string>{"GetWindowState", "dColors", "Colors", "cmdAlert",
                                                "cmdStopTimer", "cmdStartTimer", "alert",
                                                "tmrDisplayTime"}));
}

class PeerOrders : public ::testing::Test, public ProgramFixture {};

TEST_F(PeerOrders, FocusStartsAtTheLowestTabIndexThatTakesFocus) {
    // Labels never take focus, and neither do the countdown window's code-only buttons and its
    // lead box, which lie outside the window where no one can see them.
    setup.Load();
    dialog.Load();
    EXPECT_EQ(NamesOf(TabOrder(setup)), (std::vector<std::string>{"Combo1", "Combo2"}));
    EXPECT_EQ(NamesOf(TabOrder(dialog)), (std::vector<std::string>{"DTPicker1", "Command1"}));
    EXPECT_EQ(NamesOf(TabOrder(countDown)), std::vector<std::string>{});
}

TEST_F(PeerOrders, StackingRaisesFromTheBackSoTheFirstStoredControlIsInFront) {
    for (Form* window : std::vector<Form*>{&countDown, &setup, &dialog}) {
        window->Load();
        const std::vector<Control*> order = BackToFront(*window);
        std::vector<Control*> widgets;
        for (const auto& control : window->Controls()) {
            if (control->Kind() != ControlKind::Timer && control->Kind() != ControlKind::MenuItem) {
                widgets.insert(widgets.begin(), control.get());
            }
        }
        EXPECT_EQ(order, widgets) << window->Name();
    }
    EXPECT_TRUE(BackToFront(menuCarrier).empty());
}

}  // namespace
}  // namespace brindle
