#include <QLabel>
#include <QMouseEvent>

#include "qt/qt_controls.h"
#include "qt/qt_window_system.h"
#include "runtime/peer_rules.h"

namespace brindle {

namespace {

Qt::Alignment ToQAlignment(Alignment alignment) {
    switch (alignment) {
        case Alignment::Centre:
            return Qt::AlignHCenter;
        case Alignment::Right:
            return Qt::AlignRight;
        case Alignment::Left:
            break;
    }
    return Qt::AlignLeft;
}

MouseButton ButtonOf(Qt::MouseButton button) {
    switch (button) {
        case Qt::RightButton:
            return MouseButton::Right;
        case Qt::MiddleButton:
            return MouseButton::Middle;
        default:
            return MouseButton::Left;
    }
}

ModifierKeys ModifiersOf(Qt::KeyboardModifiers modifiers) {
    return {modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::ControlModifier),
            modifiers.testFlag(Qt::AltModifier)};
}

QLabel& NewLabel(QWidget& window, Alignment alignment) {
    auto* label = new QLabel(&window);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(ToQAlignment(alignment) | Qt::AlignTop);
    label->setAutoFillBackground(true);
    return *label;
}

}  // namespace

QtLabel::QtLabel(Label& label, QWidget& window, QtPeerEvents& events)
    : QtShownControl(label, NewLabel(window, label.Layout().alignment)) {
    events.Watch(Native<QLabel>(), QEvent::MouseButtonPress, [&label](QEvent& event) {
        const auto& mouse = static_cast<const QMouseEvent&>(event);
        const QPointF at = mouse.position() * QtWindowSystem::kTwipsPerPixel;
        label.RaiseMouseDown(ButtonOf(mouse.button()), ShiftMask(ModifiersOf(mouse.modifiers())),
                             static_cast<float>(at.x()), static_cast<float>(at.y()));
    });
    Attach();
}

void QtLabel::ShowCaption(const std::string& caption) {
    Native<QLabel>().setText(ToQString(caption));
}

void QtLabel::ShowForeColor(Colour colour) {
    SetColour(Widget(), QPalette::WindowText, colour);
}

void QtLabel::ShowBackColor(Colour colour) {
    SetColour(Widget(), QPalette::Window, colour);
}

}  // namespace brindle
