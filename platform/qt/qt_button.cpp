#include <QPushButton>

#include "qt/qt_controls.h"

namespace brindle {

namespace {

QPushButton& NewButton(QWidget& window, const ControlLayout& layout) {
    auto* button = new QPushButton(ToQString(layout.caption), &window);
    // Enter presses a button that has the focus, as Space does.
    button->setAutoDefault(true);
    if (layout.buttonStyle == ButtonStyle::Graphical) {
        SetColour(*button, QPalette::Button, layout.backColor);
    }
    return *button;
}

}  // namespace

QtButton::QtButton(CommandButton& button, QWidget& window, QtPeerEvents& events)
    : QtControl(button, NewButton(window, button.Layout())) {
    events.Connect(&Native<QPushButton>(), &QPushButton::clicked,
                   [&button](bool) { button.SetValue(true); });
}

}  // namespace brindle
