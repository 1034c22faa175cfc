#pragma once

#include <QEvent>
#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <utility>

#include "runtime/control.h"

namespace brindle {

// Receives the native events of one window's widgets. It outlives the window's peer until Qt
// deletes it later, because the peer can be destroyed while one of these events is still on the
// stack; once the peer has let go of it, events are ignored.
class QtPeerEvents final : public QObject {
public:
    using Handler = std::function<void(QEvent&)>;

    // Hands every event of the given type that reaches watched to handler, which consumes it.
    void Watch(QObject& watched, QEvent::Type type, Handler handler);

    // Connects a widget's signal to an action that runs only while the window's peer lives.
    template <class Sender, class SignalOwner, class... Args, class Action>
    void Connect(Sender* sender, void (SignalOwner::*signal)(Args...), Action action) {
        QObject::connect(sender, signal, this, [this, action](Args... args) {
            if (live_) {
                action(args...);
            }
        });
    }

    // The window's peer is going: from now on nothing is handed on, and Qt deletes this later.
    void Release();

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool live_ = true;
    std::map<std::pair<QObject*, QEvent::Type>, Handler> handlers_;
};

// One control's widget in its window: it copies the control's properties onto the widget and
// hands what the user does to it back to the control.
class QtControlPeer {
public:
    virtual ~QtControlPeer() = default;
    QtControlPeer(const QtControlPeer&) = delete;
    QtControlPeer& operator=(const QtControlPeer&) = delete;

    // Copies one property of the control onto the widget; the window blocks the widget's signals
    // meanwhile, so the copy never comes back as a user action.
    virtual void Apply(Property property) = 0;

    // Null once Qt has deleted the widget.
    QWidget* Widget() const { return widget_.data(); }

protected:
    // Places the widget, already made for the control, as the control's layout says.
    QtControlPeer(const Control& control, QWidget& widget);

    template <class NativeWidget>
    NativeWidget& Native() const {
        return static_cast<NativeWidget&>(*widget_);
    }

private:
    QPointer<QWidget> widget_;
};

// The program's values as Qt's.
QString ToQString(const std::string& text);
QRect ToQRect(const TwipsRect& twips);
// Leaves the widget's own colour where the layout leaves it to the window system.
void SetColour(QWidget& widget, QPalette::ColorRole role, Colour colour);

}  // namespace brindle
