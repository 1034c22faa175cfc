#include "qt/qt_controls.h"

#include <QColor>
#include <QFont>

#include "qt/qt_window_system.h"
#include "runtime/peer_rules.h"

namespace brindle {

namespace {

// Colours are 0x00BBGGRR: red in the low byte.
QColor ToQColor(Colour colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

void ApplyFont(QWidget& widget, const Font& font) {
    // An empty face keeps the window's default font.
    if (font.face.empty()) {
        return;
    }
    QFont f(ToQString(font.face));
    f.setPointSizeF(font.points);
    f.setWeight(static_cast<QFont::Weight>(font.weight));
    f.setItalic(font.slant == FontSlant::Italic);
    widget.setFont(f);
}

}  // namespace

void QtPeerEvents::Watch(QObject& watched, QEvent::Type type, Handler handler) {
    handlers_[{&watched, type}] = std::move(handler);
    watched.installEventFilter(this);
}

void QtPeerEvents::Release() {
    live_ = false;
    deleteLater();
}

bool QtPeerEvents::eventFilter(QObject* watched, QEvent* event) {
    if (!live_) {
        return false;
    }
    const auto found = handlers_.find({watched, event->type()});
    if (found == handlers_.end()) {
        return false;
    }
    // The handler may unload the window: nothing of the peer may be touched after it.
    found->second(*event);
    return true;
}

QtControl::QtControl(const Control& control, QWidget& widget) : widget_(widget) {
    const ControlLayout& layout = control.Layout();
    widget.setObjectName(ToQString(layout.name));
    widget.setGeometry(ToQRect(layout.bounds));
    ApplyFont(widget, layout.font);
    if (layout.focus == Focus::Refuses) {
        widget.setFocusPolicy(Qt::NoFocus);
    }
    if (!layout.accessibleName.empty()) {
        widget.setAccessibleName(ToQString(layout.accessibleName));
    }
}

QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

QRect ToQRect(const TwipsRect& twips) {
    const PixelRect r = ToPixels(twips, QtWindowSystem::kTwipsPerPixel);
    return {r.left, r.top, r.width, r.height};
}

void SetColour(QWidget& widget, QPalette::ColorRole role, Colour colour) {
    if (colour == kDefaultColour) {
        return;
    }
    QPalette palette = widget.palette();
    palette.setColor(role, ToQColor(colour));
    widget.setPalette(palette);
}

}  // namespace brindle
