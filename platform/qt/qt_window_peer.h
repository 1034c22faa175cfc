#pragma once

#include <QPointer>
#include <QWidget>
#include <map>

#include "qt/qt_tick_timer.h"
#include "runtime/top_most.h"
#include "runtime/window_system.h"

namespace brindle {

class QtWindowSystem;
class QtPeerEvents;

// One loaded window on screen: a top-level QWidget with a child widget per visible control and a
// QtTickTimer per timer control. Property changes are copied onto the widgets; the user's actions
// go back through the controls' Raise, Accept and Pick members.
class QtWindowPeer final : public WindowPeer {
public:
    QtWindowPeer(QtWindowSystem& system, Form& form, WindowHandle handle);
    ~QtWindowPeer() override;

    void ControlChanged(Control& control, Property property) override;
    void VisibilityChanged(Visibility visibility) override;
    WindowHandle Handle() const override { return handle_; }
    TwipsRect Bounds() const override;
    void PopupMenu(MenuItem& menu) override;

    // The stand-ins of the declared functions act on the window through these.
    void SetTopMost(TopMostState state);
    // Lets the user drag the window while the left button is held, as a press on a title bar
    // does; returns at once when the left button is not down.
    void MoveWithPointer();

    QWidget* Window() const { return window_; }

private:
    void BuildControls();
    void BuildTimer(Timer& timer);
    void SetTabOrder();
    void ApplyAll(Control& control);

    QtWindowSystem& system_;
    Form& form_;
    WindowHandle handle_;
    QPointer<QWidget> window_;
    QtPeerEvents* events_;
    std::map<const Control*, QPointer<QWidget>> widgets_;
    std::map<const Control*, QPointer<QtTickTimer>> timers_;
    bool shownSinceLoad_ = false;
};

}  // namespace brindle
