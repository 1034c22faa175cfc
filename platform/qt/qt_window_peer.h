#pragma once

#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>

#include "qt/qt_control_peer.h"
#include "qt/qt_tick_timer.h"
#include "runtime/top_most.h"
#include "runtime/window_system.h"

namespace brindle {

class QtWindowSystem;

// One loaded window on screen: a top-level QWidget with a control peer per visible control and a
// QtTickTimer per timer control. Each property change goes to its control's peer, which copies it
// onto the widget.
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
    QWidget* WidgetOf(const Control* control) const;
    void NameListsByTheirLabels();
    void SetTabOrder();
    void ApplyAll(Control& control);
    void CentreOnPrimaryScreen();
    void PaintAhead();

    QtWindowSystem& system_;
    Form& form_;
    WindowHandle handle_;
    QPointer<QWidget> window_;
    QtPeerEvents* events_;
    std::map<const Control*, std::unique_ptr<QtControlPeer>> controls_;
    std::map<const Control*, QPointer<QtTickTimer>> timers_;
    bool shownSinceLoad_ = false;
};

}  // namespace brindle
