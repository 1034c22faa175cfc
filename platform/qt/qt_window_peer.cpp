#include "qt/qt_window_peer.h"

#include <xcb/xcb.h>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cassert>
#include <cstdlib>

#include "qt/qt_menu.h"
#include "qt/qt_window_system.h"
#include "runtime/form.h"
#include "runtime/peer_rules.h"

namespace brindle {

namespace {

constexpr float kTwips = QtWindowSystem::kTwipsPerPixel;

// Read as PNG without guessing: guessing makes Qt load every image-format plugin to ask each, and
// an SVG would load the SVG modules; all of them would stay in memory for a few icon pixels.
QPixmap Png(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

QIcon ProgramIcon() {
    QIcon icon;
    icon.addPixmap(Png(QStringLiteral(":/brindle/brindle-32.png")));
    icon.addPixmap(Png(QStringLiteral(":/brindle/brindle-48.png")));
    return icon;
}

// The program's windows are plain widgets, which Qt offers to assistive technology as filler;
// they are offered as windows, named by their captions.
constexpr char kProgramWindow[] = "brindleProgramWindow";

QAccessibleInterface* ProgramWindowAccessible(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget != nullptr && widget->isWindow() && widget->property(kProgramWindow).toBool()) {
        return new QAccessibleWidget(widget, QAccessible::Window);
    }
    return nullptr;
}

Qt::WindowFlags FlagsFor(const WindowLayout& layout) {
    Qt::WindowFlags flags = layout.taskbar == TaskbarEntry::No ? Qt::Tool : Qt::Window;
    if (layout.border == BorderStyle::None) {
        flags |= Qt::FramelessWindowHint;
    }
    return flags;
}

// The unit that shows a control a person can see, attached to it.
std::unique_ptr<QtControl> NewControl(Control& control, QWidget& window, QtPeerEvents& events) {
    switch (control.Kind()) {
        case ControlKind::Label:
            return std::make_unique<QtLabel>(static_cast<Label&>(control), window, events);
        case ControlKind::ComboBox:
            return std::make_unique<QtList>(static_cast<ComboBox&>(control), window, events);
        case ControlKind::CommandButton:
            return std::make_unique<QtButton>(static_cast<CommandButton&>(control), window, events);
        case ControlKind::DatePicker:
            return std::make_unique<QtPicker>(static_cast<DatePicker&>(control), window, events);
        case ControlKind::TextBox:
        case ControlKind::Timer:
        case ControlKind::MenuItem:
            break;
    }
    assert(false && "a layout shows a control of a kind that has no widget");
    return nullptr;
}

}  // namespace

QtWindowPeer::QtWindowPeer(QtWindowSystem& system, Form& form, WindowHandle handle)
    : system_(system), form_(form), handle_(handle), events_(new QtPeerEvents) {
    const WindowLayout& layout = form.Layout();

    static const bool accessibleWindows = [] {
        QAccessible::installFactory(ProgramWindowAccessible);
        return true;
    }();
    window_ = new QWidget(nullptr, FlagsFor(layout));
    window_->setObjectName(ToQString(layout.name));
    window_->setProperty(kProgramWindow, accessibleWindows);
    window_->setWindowTitle(ToQString(layout.caption));
    if (!layout.accessibleName.empty()) {
        window_->setAccessibleName(ToQString(layout.accessibleName));
    }
    const QSize client(TwipsToPixels(layout.clientArea.width, kTwips),
                       TwipsToPixels(layout.clientArea.height, kTwips));
    if (layout.border == BorderStyle::None) {
        window_->setFixedSize(client);
    } else {
        window_->resize(client);
    }
    if (layout.backColor != kDefaultColour) {
        SetColour(*window_, QPalette::Window, layout.backColor);
        window_->setAutoFillBackground(true);
    }
    if (layout.hasIcon) {
        window_->setWindowIcon(ProgramIcon());
    }
    // A window with nothing in its tab order has nothing to type into, so showing it or flashing
    // it never takes the focus from another application.
    if (TabOrder(form).empty()) {
        window_->setAttribute(Qt::WA_ShowWithoutActivating);
    }
    events_->Watch(*window_, QEvent::Close, [&form](QEvent& event) {
        // The program decides what a close does; its own unload hides the window.
        event.ignore();
        form.UserClose();
    });
    BuildControls();
}

QtWindowPeer::~QtWindowPeer() {
    system_.Forget(handle_);
    events_->Release();
    // The timers go with their window; the other units let go of their controls as they go.
    for (const auto& timer : timers_) {
        if (timer) {
            timer->Detach();
        }
    }
    // A nested event loop started from one of these widgets may still be running.
    if (window_) {
        window_->hide();
        window_->deleteLater();
    }
}

void QtWindowPeer::BuildControls() {
    for (const auto& owned : form_.Controls()) {
        Control& control = *owned;
        if (auto* timer = dynamic_cast<Timer*>(&control)) {
            timers_.emplace_back(new QtTickTimer(*timer, system_.Ticks(), window_));
            continue;
        }
        // What no one can see gets no widget, so neither the keyboard nor a screen reader can
        // reach it.
        if (!CanBeSeen(control)) {
            continue;
        }
        if (auto unit = NewControl(control, *window_, *events_)) {
            controls_[&control] = std::move(unit);
        }
    }
    NameListsByTheirLabels();
    for (const Control* control : BackToFront(form_)) {
        if (QWidget* widget = WidgetOf(control)) {
            widget->raise();
        }
    }
    SetTabOrder();
}

QWidget* QtWindowPeer::WidgetOf(const Control* control) const {
    const auto found = controls_.find(control);
    return found == controls_.end() ? nullptr : &found->second->Widget();
}

// Labels and buttons are read by their captions, as Qt names them. A list is read by the label
// that the layout says describes it: Qt on Linux names a list by its text and offers that label as
// the one whose buddy it is.
void QtWindowPeer::NameListsByTheirLabels() {
    for (const auto& owned : form_.Controls()) {
        QWidget* widget = WidgetOf(owned.get());
        if (auto* label = qobject_cast<QLabel*>(WidgetOf(DescribingControl(*owned)));
            label != nullptr && widget != nullptr) {
            label->setBuddy(widget);
        }
    }
}

void QtWindowPeer::SetTabOrder() {
    QWidget* previous = nullptr;
    for (const Control* control : TabOrder(form_)) {
        QWidget* widget = WidgetOf(control);
        if (previous != nullptr && widget != nullptr) {
            QWidget::setTabOrder(previous, widget);
        }
        previous = widget != nullptr ? widget : previous;
    }
}

void QtWindowPeer::VisibilityChanged(Visibility visibility) {
    if (!window_) {
        return;
    }
    if (visibility == Visibility::Hidden) {
        window_->hide();
        return;
    }
    if (!shownSinceLoad_) {
        if (form_.Layout().startUpPosition == StartUpPosition::CentreScreen) {
            CentreOnPrimaryScreen();
        }
        PaintAhead();
    }
    shownSinceLoad_ = true;
    window_->show();
    if (!window_->testAttribute(Qt::WA_ShowWithoutActivating)) {
        window_->raise();
        window_->activateWindow();
    }
}

// A window's first paint loads its fonts and lays out its texts, which takes milliseconds, and far
// longer with a cold font cache. Left until the window is mapped, it shows the screen's black in
// the window's place meanwhile; painted once beforehand, off the screen, the paint that answers
// the mapping only copies, and the first frame a person sees is the window's own.
void QtWindowPeer::PaintAhead() {
    QPixmap offScreen(window_->size());
    window_->render(&offScreen);
}

void QtWindowPeer::CentreOnPrimaryScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    // The frame is what is centred: move places the frame's top-left corner.
    const QRect frame = window_->frameGeometry();
    const PixelPoint origin = CentredOrigin({area.x(), area.y(), area.width(), area.height()},
                                            frame.width(), frame.height());
    window_->move(origin.x, origin.y);
}

TwipsRect QtWindowPeer::Bounds() const {
    if (!window_) {
        return {};
    }
    const QRect r = window_->frameGeometry();
    return {PixelsToTwips(r.x(), kTwips), PixelsToTwips(r.y(), kTwips),
            PixelsToTwips(r.width(), kTwips), PixelsToTwips(r.height(), kTwips)};
}

void QtWindowPeer::PopupMenu(MenuItem& menu) {
    QtMenu popup(menu);
    popup.ShowAtPointer();
}

void QtWindowPeer::SetTopMost(TopMostState state) {
    if (!window_) {
        return;
    }
    const bool wanted = state == TopMostState::TopMost;
    if (window_->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == wanted) {
        return;
    }
    // Changing the flags hides the window and may lose its place, so both are put back.
    const bool wasVisible = window_->isVisible();
    const QRect geometry = window_->geometry();
    window_->setWindowFlag(Qt::WindowStaysOnTopHint, wanted);
    window_->setGeometry(geometry);
    if (wasVisible) {
        window_->show();
    }
}

namespace {

// Whether the left button is down right now. Under X11 the server is asked, because a click's
// release may already have happened while its press is still being handled; a window manager
// handed a move then would wait for a release that never comes.
bool LeftButtonHeld() {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    // Other platforms (offscreen among them) may answer for X11 without a connection.
    xcb_connection_t* connection =
        x11 != nullptr && QGuiApplication::platformName() == "xcb" ? x11->connection() : nullptr;
    if (connection != nullptr) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        if (screen != nullptr) {
            xcb_query_pointer_reply_t* reply = xcb_query_pointer_reply(
                connection, xcb_query_pointer(connection, screen->root), nullptr);
            if (reply != nullptr) {
                const bool held = (reply->mask & XCB_BUTTON_MASK_1) != 0;
                std::free(reply);
                return held;
            }
        }
    }
    return (QGuiApplication::mouseButtons() & Qt::LeftButton) != 0;
}

// Makes the window follow the pointer until the left button is let go, for when no window
// manager can move it.
class PointerFollower final : public QObject {
public:
    explicit PointerFollower(QWidget& window)
        : window_(&window), grip_(QCursor::pos() - window.pos()) {}

    void Run() {
        qApp->installEventFilter(this);
        // A release the program never sees (another client took the pointer) also ends it.
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, &loop_, [this] {
            if (!window_ || !(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
                loop_.quit();
            }
        });
        watch.start(50);
        loop_.exec();
        qApp->removeEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease) {
            loop_.quit();
        } else if (event->type() == QEvent::MouseMove && window_) {
            window_->move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - grip_);
        }
        return false;
    }

private:
    QPointer<QWidget> window_;
    QPoint grip_;
    QEventLoop loop_;
};

}  // namespace

void QtWindowPeer::MoveWithPointer() {
    if (!window_ || !window_->isVisible() || !LeftButtonHeld()) {
        return;
    }
    QWindow* native = window_->windowHandle();
    if (native != nullptr && native->startSystemMove()) {
        return;
    }
    PointerFollower follower(*window_);
    follower.Run();
}

}  // namespace brindle
