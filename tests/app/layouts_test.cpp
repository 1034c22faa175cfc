#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "layouts.h"
#include "program_fixture.h"
#include "runtime/peer_rules.h"

namespace brindle {
namespace {

bool Inside(const TwipsRect& r, float x, float y) {
    return x >= r.left && x < r.left + r.width && y >= r.top && y < r.top + r.height;
}

class Layouts : public ::testing::Test, public ProgramFixture {};

TEST_F(Layouts, WhatAPersonSeesAndReachesInEachWindow) {
    for (Form* window : std::vector<Form*>{&countDown, &setup, &dialog}) {
        SCOPED_TRACE(window->Name());
        window->Load();
        std::set<int> tabIndices;
        for (const auto& control : window->Controls()) {
            const ControlLayout& c = control->Layout();
            // Tab indices are unique, fonts are normal or bold, and a control that takes the
            // keyboard lies wholly inside its window.
            EXPECT_TRUE(c.tabIndex < 0 || tabIndices.insert(c.tabIndex).second) << c.name;
            EXPECT_TRUE(c.font.weight == 400 || c.font.weight == 700) << c.name;
            if (c.focus == Focus::Accepts && c.kind != ControlKind::Timer) {
                EXPECT_TRUE(Inside(window->Layout().clientArea, c.bounds.left, c.bounds.top) &&
                            c.bounds.left + c.bounds.width <= window->Layout().clientArea.width &&
                            c.bounds.top + c.bounds.height <= window->Layout().clientArea.height)
                    << c.name;
            }
        }
    }
    // The focus goes to the interval list and to the picker; the countdown takes no keys.
    EXPECT_EQ(TabOrder(setup).front()->Name(), "Combo1");
    EXPECT_EQ(TabOrder(setup).size(), 2u);
    EXPECT_EQ(TabOrder(dialog).front()->Name(), "DTPicker1");
    EXPECT_TRUE(TabOrder(countDown).empty());
    // The countdown's two labels cover its whole window, so a press anywhere lands on a label;
    // its code-only buttons and box lie outside it.
    const TwipsRect& client = countDown.Layout().clientArea;
    for (float y = 0; y < client.height; y += 15) {
        for (float x = 0; x < client.width; x += 15) {
            std::string top;
            for (Control* c : BackToFront(countDown)) {
                top = Inside(c->Layout().bounds, x, y) ? c->Name() : top;
            }
            ASSERT_TRUE(top == "lblCountDown" || top == "Label1") << x << ", " << y;
        }
    }
    EXPECT_EQ(countDown.Layout().border, BorderStyle::None);
    EXPECT_EQ(countDown.Layout().taskbar, TaskbarEntry::No);
    EXPECT_EQ(setup.Layout().border, BorderStyle::None);
}

}  // namespace
}  // namespace brindle
