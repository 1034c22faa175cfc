#include "runtime/peer_rules.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "runtime/form.h"

namespace brindle {

namespace {

bool IsWidget(ControlKind kind) {
    return kind != ControlKind::Timer && kind != ControlKind::MenuItem;
}

bool TakesFocus(const Control& control) {
    const ControlLayout& layout = control.Layout();
    switch (layout.kind) {
        case ControlKind::ComboBox:
        case ControlKind::TextBox:
        case ControlKind::CommandButton:
        case ControlKind::DatePicker:
            return layout.tabIndex >= 0 && layout.focus == Focus::Accepts && CanBeSeen(control);
        case ControlKind::Label:
        case ControlKind::Timer:
        case ControlKind::MenuItem:
            return false;
    }
    return false;
}

}  // namespace

std::int16_t ShiftMask(ModifierKeys keys) {
    return static_cast<std::int16_t>((keys.shift ? 1 : 0) | (keys.control ? 2 : 0) |
                                     (keys.alt ? 4 : 0));
}

int TwipsToPixels(float twips, float twipsPerPixel) {
    return static_cast<int>(std::lround(twips / twipsPerPixel));
}

float PixelsToTwips(int pixels, float twipsPerPixel) {
    return static_cast<float>(pixels) * twipsPerPixel;
}

PixelRect ToPixels(const TwipsRect& rect, float twipsPerPixel) {
    return {TwipsToPixels(rect.left, twipsPerPixel), TwipsToPixels(rect.top, twipsPerPixel),
            TwipsToPixels(rect.width, twipsPerPixel), TwipsToPixels(rect.height, twipsPerPixel)};
}

PixelPoint CentredOrigin(const PixelRect& workArea, int width, int height) {
    return {workArea.left + (workArea.width - width) / 2,
            workArea.top + (workArea.height - height) / 2};
}

std::vector<Control*> BackToFront(const Form& form) {
    std::vector<Control*> order;
    const auto& controls = form.Controls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        if (IsWidget((*it)->Kind())) {
            order.push_back(it->get());
        }
    }
    return order;
}

bool CanBeSeen(const Control& control) {
    if (!IsWidget(control.Kind())) {
        return false;
    }
    const TwipsRect& bounds = control.Layout().bounds;
    const TwipsRect& client = control.Owner().Layout().clientArea;
    return bounds.left < client.width && bounds.top < client.height &&
           bounds.left + bounds.width > 0 && bounds.top + bounds.height > 0;
}

const Control* DescribingControl(const Control& control) {
    const std::string& name = control.Layout().describedBy;
    if (name.empty()) {
        return nullptr;
    }
    for (const auto& other : control.Owner().Controls()) {
        if (other->Name() == name) {
            return other.get();
        }
    }
    assert(false && "a layout names a describing control that its window does not have");
    return nullptr;
}

std::vector<Control*> TabOrder(const Form& form) {
    std::vector<Control*> order;
    for (const auto& control : form.Controls()) {
        if (TakesFocus(*control)) {
            order.push_back(control.get());
        }
    }
    std::stable_sort(order.begin(), order.end(), [](const Control* a, const Control* b) {
        return a->Layout().tabIndex < b->Layout().tabIndex;
    });
    return order;
}

}  // namespace brindle
