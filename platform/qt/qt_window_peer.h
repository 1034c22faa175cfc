#pragma once

#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>
#include <vector>

#include "qt/qt_controls.h"
#include "qt/qt_tick_timer.h"
#include "runtime/top_most.h"
#include "runtime/window_system.h"

namespace brindle {

class QtWindowSystem;

// One loaded window on screen: a top-level QWidget with a unit per control a person can see and a
// QtTickTimer per timer control, each attached to its control, which tells it every change.
class QtWindowPeer final : public WindowPeer {
public:
    QtWindowPeer(QtWindowSystem& system, Form& form, WindowHandle handle);
    ~QtWindowPeer() override;

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
    QWidget* WidgetOf(const Control* control) const;
    void NameListsByTheirLabels();
    void SetTabOrder();
    void CentreOnPrimaryScreen();
    void PaintAhead();

    QtWindowSystem& system_;
    Form& form_;
    WindowHandle handle_;
    QPointer<QWidget> window_;
    QtPeerEvents* events_;
    std::map<const Control*, std::unique_ptr<QtControl>> controls_;
    std::vector<QPointer<QtTickTimer>> timers_;
    bool shownSinceLoad_ = false;
};

}  // namespace brindle
