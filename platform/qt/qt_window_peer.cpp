#include "qt/qt_window_peer.h"

#include <xcb/xcb.h>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDateTimeEdit>
#include <QEventLoop>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdlib>
#include <vector>

#include "qt/qt_window_system.h"
#include "runtime/form.h"
#include "runtime/peer_rules.h"

namespace brindle {

// Receives the native events of one window's widgets. It outlives its peer until Qt deletes it
// later, because the peer can be destroyed while one of these events is still on the stack;
// once the peer is gone, events are ignored.
class QtPeerEvents final : public QObject {
public:
    QtWindowPeer* peer = nullptr;
    Form* form = nullptr;
    std::map<QObject*, Label*> labels;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (peer == nullptr) {
            return false;
        }
        if (event->type() == QEvent::Close && watched == peer->Window()) {
            // The program decides what a close does; its own unload hides the window.
            event->ignore();
            form->UserClose();
            return true;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            const auto found = labels.find(watched);
            if (found != labels.end()) {
                auto* mouse = static_cast<QMouseEvent*>(event);
                const MouseButton button = ButtonOf(mouse->button());
                const std::int16_t shift = ShiftMask(ModifiersOf(mouse->modifiers()));
                const QPointF at = mouse->position() * QtWindowSystem::kTwipsPerPixel;
                // Nothing of this object may be touched after this: the handler may unload the
                // window.
                found->second->RaiseMouseDown(button, shift, static_cast<float>(at.x()),
                                              static_cast<float>(at.y()));
                return true;
            }
        }
        return false;
    }

private:
    static MouseButton ButtonOf(Qt::MouseButton button) {
        switch (button) {
            case Qt::RightButton:
                return MouseButton::Right;
            case Qt::MiddleButton:
                return MouseButton::Middle;
            default:
                return MouseButton::Left;
        }
    }

    static ModifierKeys ModifiersOf(Qt::KeyboardModifiers modifiers) {
        return {modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::ControlModifier),
                modifiers.testFlag(Qt::AltModifier)};
    }
};

namespace {

constexpr float kTwips = QtWindowSystem::kTwipsPerPixel;

QRect ToQRect(const TwipsRect& twips) {
    const PixelRect r = ToPixels(twips, kTwips);
    return {r.left, r.top, r.width, r.height};
}

bool IsDefault(Colour colour) {
    return colour == kDefaultColour;
}

// Colours are 0x00BBGGRR: red in the low byte.
QColor ToQColor(Colour colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

void SetColour(QWidget& widget, QPalette::ColorRole role, Colour colour) {
    if (IsDefault(colour)) {
        return;
    }
    QPalette palette = widget.palette();
    palette.setColor(role, ToQColor(colour));
    widget.setPalette(palette);
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

QDateTime ToQDateTime(DateTime value) {
    const CivilDateTime c = ToCivil(value);
    return QDateTime(QDate(c.year, c.month, c.day), QTime(c.hour, c.minute, c.second), Qt::UTC);
}

DateTime FromQDateTime(const QDateTime& value) {
    const QDate d = value.date();
    const QTime t = value.time();
    return MakeDateTime(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
}

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

// Tab and Shift+Tab leave the picker for the next control in tab order, as they leave every other
// control; the picker's fields are reached with the arrow keys.
class FieldLeavingDateTimeEdit final : public QDateTimeEdit {
public:
    using QDateTimeEdit::QDateTimeEdit;

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

// The label a screen reader names a list by: in these windows each list's label lies directly
// below it, across the same columns, closer than the list is high.
const Label* LabelBelow(const Form& form, const TwipsRect& list) {
    const float bottom = list.top + list.height;
    const Label* found = nullptr;
    for (const auto& control : form.Controls()) {
        if (control->Kind() != ControlKind::Label) {
            continue;
        }
        const TwipsRect& r = control->Layout().bounds;
        const bool sameColumns = r.left < list.left + list.width && list.left < r.left + r.width;
        const bool justBelow = r.top >= bottom && r.top - bottom <= list.height;
        if (sameColumns && justBelow && (found == nullptr || r.top < found->Layout().bounds.top)) {
            found = static_cast<const Label*>(control.get());
        }
    }
    return found;
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

}  // namespace

QtWindowPeer::QtWindowPeer(QtWindowSystem& system, Form& form, WindowHandle handle)
    : system_(system), form_(form), handle_(handle), events_(new QtPeerEvents) {
    events_->peer = this;
    events_->form = &form;
    const WindowLayout& layout = form.Layout();

    static const bool accessibleWindows = [] {
        QAccessible::installFactory(ProgramWindowAccessible);
        return true;
    }();
    window_ = new QWidget(nullptr, FlagsFor(layout));
    window_->setObjectName(ToQString(layout.name));
    window_->setProperty(kProgramWindow, accessibleWindows);
    window_->setWindowTitle(ToQString(layout.caption));
    const QSize client(TwipsToPixels(layout.clientArea.width, kTwips),
                       TwipsToPixels(layout.clientArea.height, kTwips));
    if (layout.border == BorderStyle::None) {
        window_->setFixedSize(client);
    } else {
        window_->resize(client);
    }
    if (!IsDefault(layout.backColor)) {
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
    window_->installEventFilter(events_);
    BuildControls();
}

QtWindowPeer::~QtWindowPeer() {
    system_.Forget(handle_);
    events_->peer = nullptr;
    events_->deleteLater();
    // The timers go with their window.
    for (auto& [control, timer] : timers_) {
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
    QtPeerEvents* events = events_;
    for (const auto& owned : form_.Controls()) {
        Control& control = *owned;
        const ControlLayout& layout = control.Layout();
        // What no one can see gets no widget, so neither the keyboard nor a screen reader can
        // reach it.
        if (control.Kind() == ControlKind::Timer) {
            BuildTimer(static_cast<Timer&>(control));
            continue;
        }
        if (!CanBeSeen(control)) {
            continue;
        }
        QWidget* widget = nullptr;
        switch (control.Kind()) {
            case ControlKind::Label: {
                auto* label = new QLabel(window_);
                label->setTextFormat(Qt::PlainText);
                label->setWordWrap(true);
                label->setAlignment(ToQAlignment(layout.alignment) | Qt::AlignTop);
                label->setAutoFillBackground(true);
                label->installEventFilter(events);
                events->labels[label] = static_cast<Label*>(&control);
                widget = label;
                break;
            }
            case ControlKind::ComboBox: {
                auto* combo = new QComboBox(window_);
                auto& model = static_cast<ComboBox&>(control);
                combo->setEditable(true);
                // Typing only changes the text: no item is added and no completion picks one.
                combo->setInsertPolicy(QComboBox::NoInsert);
                combo->setCompleter(nullptr);
                // Qt selects, and reports as activated, an item whose text matches what was typed
                // once editing finishes (Enter or focus loss); typed text must start nothing.
                QObject::disconnect(combo->lineEdit(), &QLineEdit::editingFinished, combo, nullptr);
                SetColour(*combo, QPalette::Text, layout.foreColor);
                SetColour(*combo, QPalette::Base, layout.backColor);
                QObject::connect(combo, &QComboBox::activated, events, [events, &model](int i) {
                    if (events->peer != nullptr && i >= 0) {
                        model.Pick(static_cast<std::size_t>(i));
                    }
                });
                QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, events,
                                 [events, &model](const QString& text) {
                                     if (events->peer != nullptr) {
                                         model.AcceptTypedText(text.toStdString());
                                     }
                                 });
                widget = combo;
                break;
            }
            case ControlKind::TextBox:
                widget = new QLineEdit(window_);
                break;
            case ControlKind::CommandButton: {
                auto* button = new QPushButton(ToQString(layout.caption), window_);
                // Enter presses a button that has the focus, as Space does.
                button->setAutoDefault(true);
                auto& model = static_cast<CommandButton&>(control);
                if (layout.buttonStyle == ButtonStyle::Graphical) {
                    SetColour(*button, QPalette::Button, layout.backColor);
                }
                QObject::connect(button, &QPushButton::clicked, events, [events, &model] {
                    if (events->peer != nullptr) {
                        model.SetValue(true);
                    }
                });
                widget = button;
                break;
            }
            case ControlKind::DatePicker: {
                auto* picker = new FieldLeavingDateTimeEdit(window_);
                auto& model = static_cast<DatePicker&>(control);
                picker->setTimeSpec(Qt::UTC);
                // Time first: the field is narrow, and the time of day is what the countdown uses.
                picker->setDisplayFormat(QStringLiteral("HH:mm:ss dd/MM/yyyy"));
                picker->setCalendarPopup(true);
                picker->setDateRange(ToQDateTime(model.MinDate()).date(),
                                     ToQDateTime(model.MaxDate()).date());
                QObject::connect(picker, &QDateTimeEdit::dateTimeChanged, events,
                                 [events, &model](const QDateTime& value) {
                                     if (events->peer != nullptr) {
                                         model.AcceptUserValue(FromQDateTime(value));
                                     }
                                 });
                widget = picker;
                break;
            }
            case ControlKind::Timer:
            case ControlKind::MenuItem:
                break;
        }
        if (widget == nullptr) {
            continue;
        }
        widget->setObjectName(ToQString(layout.name));
        // A label's description tells labels apart for tools that read the accessibility tree,
        // whose captions change. Controls that take the focus have none, since a screen reader
        // reads a description out when the focus arrives.
        if (control.Kind() == ControlKind::Label) {
            widget->setAccessibleDescription(ToQString(layout.name));
        }
        widget->setGeometry(ToQRect(layout.bounds));
        ApplyFont(*widget, layout.font);
        if (layout.focus == Focus::Refuses) {
            widget->setFocusPolicy(Qt::NoFocus);
        }
        widgets_[&control] = widget;
        ApplyAll(control);
    }
    // Labels and buttons are read by their captions, as Qt names them. A list is read by the
    // label that tells what it holds: Qt on Linux names a list by its text and offers its label
    // as the one whose buddy it is.
    const auto widgetOf = [this](const Control* control) -> QWidget* {
        const auto found = widgets_.find(control);
        return found == widgets_.end() ? nullptr : found->second.data();
    };
    for (const auto& owned : form_.Controls()) {
        QWidget* list = owned->Kind() == ControlKind::ComboBox ? widgetOf(owned.get()) : nullptr;
        const Label* label = list != nullptr ? LabelBelow(form_, owned->Layout().bounds) : nullptr;
        if (auto* labelWidget = qobject_cast<QLabel*>(widgetOf(label))) {
            labelWidget->setBuddy(list);
        }
    }
    for (const Control* control : BackToFront(form_)) {
        if (QWidget* widget = widgetOf(control)) {
            widget->raise();
        }
    }
    SetTabOrder();
}

void QtWindowPeer::BuildTimer(Timer& timer) {
    timers_[&timer] = new QtTickTimer(timer, system_.Ticks(), window_);
    ApplyAll(timer);
}

void QtWindowPeer::SetTabOrder() {
    QWidget* previous = nullptr;
    for (const Control* control : TabOrder(form_)) {
        const auto found = widgets_.find(control);
        QWidget* widget = found == widgets_.end() ? nullptr : found->second.data();
        if (previous != nullptr && widget != nullptr) {
            QWidget::setTabOrder(previous, widget);
        }
        previous = widget != nullptr ? widget : previous;
    }
}

void QtWindowPeer::ApplyAll(Control& control) {
    for (const Property property : InitialProperties(control.Kind())) {
        ControlChanged(control, property);
    }
}

void QtWindowPeer::ControlChanged(Control& control, Property property) {
    if (control.Kind() == ControlKind::Timer) {
        const auto found = timers_.find(&control);
        if (found == timers_.end() || !found->second) {
            return;
        }
        QtTickTimer& ticks = *found->second;
        // A new period takes effect from the next tick on, armed afresh.
        if (property == Property::Enabled || (property == Property::Interval && ticks.isActive())) {
            ticks.FollowControl();
        }
        return;
    }
    const auto found = widgets_.find(&control);
    if (found == widgets_.end() || !found->second) {
        return;
    }
    QWidget& widget = *found->second;
    // Copying state onto a widget must not come back as a user action.
    const QSignalBlocker quiet(widget);
    switch (control.Kind()) {
        case ControlKind::Label: {
            const auto& label = static_cast<const Label&>(control);
            if (property == Property::Caption) {
                static_cast<QLabel&>(widget).setText(ToQString(label.Caption()));
            } else if (property == Property::ForeColor) {
                SetColour(widget, QPalette::WindowText, label.ForeColor());
            } else if (property == Property::BackColor) {
                SetColour(widget, QPalette::Window, label.BackColor());
            }
            break;
        }
        case ControlKind::ComboBox: {
            const auto& model = static_cast<const ComboBox&>(control);
            auto& combo = static_cast<QComboBox&>(widget);
            const QSignalBlocker quietEdit(combo.lineEdit());
            if (property == Property::Items) {
                combo.clear();
                for (const std::string& item : model.Items()) {
                    combo.addItem(ToQString(item));
                }
                // Qt makes the first item added the current one, and its open list takes its first
                // item as current when it gets the focus; a list just filled has none, so the
                // first Down and the first typed letter start from its top.
                combo.setCurrentIndex(-1);
                combo.view()->setCurrentIndex(QModelIndex());
                combo.setEditText(ToQString(model.Text()));
            } else if (property == Property::Text) {
                combo.setEditText(ToQString(model.Text()));
            } else if (property == Property::Enabled) {
                combo.setEnabled(model.Enabled());
            }
            break;
        }
        case ControlKind::TextBox:
            if (property == Property::Text) {
                static_cast<QLineEdit&>(widget).setText(
                    ToQString(static_cast<const TextBox&>(control).Text()));
            }
            break;
        case ControlKind::DatePicker:
            if (property == Property::Value) {
                static_cast<QDateTimeEdit&>(widget).setDateTime(
                    ToQDateTime(static_cast<const DatePicker&>(control).Value()));
            }
            break;
        case ControlKind::CommandButton:
        case ControlKind::Timer:
        case ControlKind::MenuItem:
            break;
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
    const WindowLayout& layout = form_.Layout();
    if (!shownSinceLoad_ && layout.startUpPosition == StartUpPosition::CentreScreen) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (screen != nullptr) {
            const QRect area = screen->availableGeometry();
            const QRect frame = window_->frameGeometry();
            const PixelPoint origin = CentredOrigin(
                {area.x(), area.y(), area.width(), area.height()}, frame.width(), frame.height());
            // The frame is placed; move takes the frame's origin too.
            window_->move(origin.x, origin.y);
        }
    }
    shownSinceLoad_ = true;
    window_->show();
    if (!window_->testAttribute(Qt::WA_ShowWithoutActivating)) {
        window_->raise();
        window_->activateWindow();
    }
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
    QMenu popup;
    popup.setObjectName(ToQString(menu.Name()));
    popup.setAccessibleName(ToQString(menu.Caption()));
    std::map<QAction*, MenuItem*> entries;
    for (MenuItem* child : menu.Children()) {
        if (child->IsSeparator()) {
            popup.addSeparator();
            continue;
        }
        QAction* action = popup.addAction(ToQString(child->Caption()));
        action->setObjectName(ToQString(child->Name()));
        entries[action] = child;
    }
    QAction* chosen = popup.exec(QCursor::pos());
    const auto found = entries.find(chosen);
    if (found != entries.end()) {
        found->second->RaiseClick();
    }
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
