#pragma once

#include <cstdint>
#include <vector>

#include "runtime/control.h"
#include "runtime/layout.h"

namespace brindle {

class Form;

// What both backends' window peers compute alike: the modifier mask of a mouse event, twips to
// pixels, centring, the stacking and tab orders and the properties a new widget takes. The
// backends only translate these values to and from their toolkit's.

// The modifier keys held during a mouse event, as the event reports them.
struct ModifierKeys {
    bool shift = false;
    bool control = false;
    bool alt = false;
};
// The handlers' mask: 1 Shift, 2 Ctrl, 4 Alt.
std::int16_t ShiftMask(ModifierKeys keys);

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
struct PixelPoint {
    int x = 0;
    int y = 0;
};

// Twips to whole pixels, rounded to the nearest; twipsPerPixel is 1440 over the screen's dots
// per inch.
int TwipsToPixels(float twips, float twipsPerPixel);
float PixelsToTwips(int pixels, float twipsPerPixel);
PixelRect ToPixels(const TwipsRect& rect, float twipsPerPixel);

// Where a window of the given outer size goes so that it sits in the middle of the work area.
PixelPoint CentredOrigin(const PixelRect& workArea, int width, int height);

// The controls that become widgets, in the order to raise them so that the first stored control
// ends up in front.
std::vector<Control*> BackToFront(const Form& form);

// Whether any part of a widget control lies inside its window's client area. Controls outside it
// exist only for code: the keyboard and assistive technology must not reach them either.
bool CanBeSeen(const Control& control);

// The control of the same window that describes this one to a screen reader (the label beneath a
// list), or nullptr when the layout names none.
const Control* DescribingControl(const Control& control);

// The controls that take the keyboard focus, in tab-index order; the first gets the focus when
// its window is activated. Controls outside the window's client area are left out.
std::vector<Control*> TabOrder(const Form& form);

}  // namespace brindle
