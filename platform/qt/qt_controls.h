#pragma once

#include <QEvent>
#include <QObject>
#include <QPalette>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

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

// One control's widget in its window, placed, named and lettered as the control's layout says; it
// hands what the user does to it back to the control. The widget belongs to the window, which Qt
// deletes only after the window's peer and its units have gone.
class QtControl {
public:
    virtual ~QtControl() = default;
    QtControl(const QtControl&) = delete;
    QtControl& operator=(const QtControl&) = delete;

    QWidget& Widget() const { return widget_; }

protected:
    QtControl(const Control& control, QWidget& widget);

    template <class NativeWidget>
    NativeWidget& Native() const {
        return static_cast<NativeWidget&>(widget_);
    }

private:
    QWidget& widget_;
};

// A unit that the control tells what to show: the unit's constructor attaches it last, once it can
// show everything, and the control is let go as the unit goes.
template <class Kind, class Peer>
class QtShownControl : public QtControl, public Peer {
public:
    ~QtShownControl() override { control_.Attach(nullptr); }

protected:
    QtShownControl(Kind& control, QWidget& widget)
        : QtControl(control, widget), control_(control) {}
    void Attach() { control_.Attach(this); }

private:
    Kind& control_;
};

// A label: a QLabel with the label's caption and colours, whose mouse presses go to the label.
class QtLabel final : public QtShownControl<Label, LabelPeer> {
public:
    QtLabel(Label& label, QWidget& window, QtPeerEvents& events);

    void ShowCaption(const std::string& caption) override;
    void ShowForeColor(Colour colour) override;
    void ShowBackColor(Colour colour) override;
};

// A drop-down list: an editable QComboBox. Picking an item picks it in the list; typing changes
// only the text. What the list is told never comes back as the user's action.
class QtList final : public QtShownControl<ComboBox, ListPeer> {
public:
    QtList(ComboBox& list, QWidget& window, QtPeerEvents& events);

    void ShowText(const std::string& text) override;
    void ShowEnabled(bool enabled) override;
    void ShowItems(const std::vector<std::string>& items) override;
};

// A date picker: a QDateTimeEdit with a calendar, in UTC so that no time zone shifts the value.
// A value it is told is not reported back as the user's edit.
class QtPicker final : public QtShownControl<DatePicker, PickerPeer> {
public:
    QtPicker(DatePicker& picker, QWidget& window, QtPeerEvents& events);

    void ShowValue(DateTime value) override;
};

// A command button: a QPushButton whose click presses the button. Its caption and colour are
// fixed by its layout, so it is told nothing.
class QtButton final : public QtControl {
public:
    QtButton(CommandButton& button, QWidget& window, QtPeerEvents& events);
};

// The program's values as Qt's.
QString ToQString(const std::string& text);
QRect ToQRect(const TwipsRect& twips);
// Leaves the widget's own colour where the layout leaves it to the window system.
void SetColour(QWidget& widget, QPalette::ColorRole role, Colour colour);

}  // namespace brindle
