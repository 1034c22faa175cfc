#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <set>

#include "clock_fake.h"
#include "desktop_fake.h"
#include "layouts.h"
#include "program.h"
#include "qt/qt_backend.h"
#include "qt/qt_tick_timer.h"
#include "qt/qt_window_peer.h"
#include "qt/qt_window_system.h"
#include "runtime/peer_rules.h"

namespace brindle {
namespace {

// One application object per process, as in the program; main creates it.
QtBackend* backend = nullptr;

QWidget* Window(Form& form, WindowSystem& system = backend->GetWindowSystem()) {
    return static_cast<QtWindowSystem&>(system).Find(form.hWnd())->Window();
}

template <class Widget = QWidget>
Widget* Child(Form& form, const Control& control) {
    return Window(form)->findChild<Widget*>(QString::fromStdString(control.Name()));
}

QRect Pixels(const TwipsRect& twips) {
    const PixelRect r = ToPixels(twips, QtWindowSystem::kTwipsPerPixel);
    return {r.left, r.top, r.width, r.height};
}

// Every control that can be seen has a widget of its layout's place and font, in the colours its
// control holds now (0x00BBGGRR); any other control has none.
void ExpectShownAsLaidOut(Form& form) {
    const auto rgb = [](Colour c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, c >> 16); };
    EXPECT_EQ(Window(form)->rect(), Pixels(form.Layout().clientArea));
    for (const auto& control : form.Controls()) {
        const ControlLayout& c = control->Layout();
        QWidget* widget = Child(form, *control);
        SCOPED_TRACE(form.Name() + "." + c.name);
        if (!CanBeSeen(*control)) {
            EXPECT_EQ(widget, nullptr);
            continue;
        }
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), Pixels(c.bounds));
        const QFont f = widget->font();
        if (!c.font.face.empty()) {
            EXPECT_EQ(std::tuple(f.family().toStdString(), f.pointSizeF(), f.weight(), f.italic()),
                      std::tuple(c.font.face, c.font.points, QFont::Weight(c.font.weight),
                                 c.font.slant == FontSlant::Italic));
        }
        const QPalette p = widget->palette();
        if (auto* label = dynamic_cast<Label*>(control.get())) {
            EXPECT_EQ(std::pair(p.color(QPalette::WindowText), p.color(QPalette::Window)),
                      std::pair(rgb(label->ForeColor()), rgb(label->BackColor())));
        } else if (c.kind == ControlKind::ComboBox) {
            EXPECT_EQ(std::pair(p.color(QPalette::Text), p.color(QPalette::Base)),
                      std::pair(rgb(c.foreColor), rgb(c.backColor)));
        }
    }
}

// The program on Qt's widgets, with the clock faked.
class QtBackendTest : public testing::Test {
protected:
    QtBackendTest() {
        clock.Set(10, 0, 0);
        program.Start();
    }
    void Activate(Form& form) {
        form.Show();
        QApplication::setActiveWindow(Window(form));
        ASSERT_TRUE(QTest::qWaitForWindowActive(Window(form)));
    }
    void PressKey(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
    // Right-clicks the countdown and chooses the entry with the given caption from its menu.
    void ChooseFromMenu(const QString& choice) {
        QTimer::singleShot(0, [choice] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr) << "no popup menu is open";
            const QList<QAction*> actions = menu->actions();
            menu->setActiveAction(*std::ranges::find(actions, choice, &QAction::text));
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QTest::mouseClick(Child(program.frmCountDown, program.frmCountDown.lblCountDown()),
                          Qt::RightButton);
    }

    ClockFake clock;
    DesktopFake desktop;
    Program program{backend->GetWindowSystem(), backend->GetOsFunctions(), clock, desktop};
    const std::vector<Form*> forms{&program.frmCountDown, &program.Form1, &program.frmRef};
};

TEST_F(QtBackendTest, EveryLayoutControlIsShownInItsPlaceFontAndColours) {
    for (Form* form : forms) {
        ExpectShownAsLaidOut(*form);
    }
    // The flash's colour scheme reaches the widgets too.
    program.frmCountDown.dColors().SetValue(true);
    ExpectShownAsLaidOut(program.frmCountDown);
}

struct HeardText {
    QAccessible::Role role;
    QString text;
    bool shownByLabel;  // a label's name that is the text it shows
};

// Every text an assistive tool can read of an object and its children, with the object's role.
void Heard(QAccessibleInterface* node, std::vector<HeardText>& heard) {
    ASSERT_NE(node, nullptr);
    for (const QAccessible::Text kind :
         {QAccessible::Name, QAccessible::Description, QAccessible::Help, QAccessible::Value}) {
        const QString text = node->text(kind);
        const auto* label = qobject_cast<const QLabel*>(node->object());
        if (!text.isEmpty()) {
            heard.push_back(
                {node->role(), text, kind == QAccessible::Name && label && text == label->text()});
        }
    }
    for (int i = 0; i < node->childCount(); ++i) {
        Heard(node->child(i), heard);
    }
}

TEST_F(QtBackendTest, AScreenReaderHearsWhatEachWindowIsForAndNoNameFromTheCode) {
    std::set<QString> code;
    for (const WindowLayout* layout :
         {&CountDownLayout(), &SetupLayout(), &MenuLayout(), &ReferenceLayout()}) {
        code.insert(QString::fromStdString(layout->name));
        for (const ControlLayout& control : layout->controls) {
            code.insert(QString::fromStdString(control.name));
        }
    }
    // The first screen, the setup window and the dialog, as each is first shown. A label is read
    // as it is seen, so only its shown text may be what the first screen's design caption is.
    std::vector<HeardText> heard;
    for (Form* form : forms) {
        form->Show();
        Heard(QAccessible::queryAccessibleInterface(Window(*form)), heard);
    }
    QStringList all;
    for (const HeardText& h : heard) {
        for (const QString& word : h.text.split(' ', Qt::SkipEmptyParts)) {
            EXPECT_TRUE(h.shownByLabel || !code.contains(word))
                << "role " << h.role << " says '" << h.text.toStdString() << "'";
        }
        all << h.text;
    }
    // What each window and control is for is said instead.
    for (const char* expected : {"CountDown Timer", "Change Time", "Minute interval",
                                 "Alert Seconds", "Reference time", "Ok"}) {
        EXPECT_TRUE(all.contains(QLatin1String(expected)))
            << expected << " in: " << all.join('|').toStdString();
    }
}

TEST_F(QtBackendTest, TheKeyboardWorksEachWindowInTabOrder) {
    // The focus starts at the lowest tab index and Tab follows the order round.
    for (Form* form : {forms[1], forms[2]}) {
        Activate(*form);
        const std::vector<Control*> order = TabOrder(*form);
        for (std::size_t i = 0; i <= order.size(); ++i, PressKey(Qt::Key_Tab)) {
            EXPECT_TRUE(Child(*form, *order[i % order.size()])->hasFocus()) << i;
        }
    }
    // The walk ends on Ok, which Return presses.
    PressKey(Qt::Key_Return);
    EXPECT_FALSE(program.frmRef.IsLoaded());
    // Back on the lead list, the first Down in a fresh list picks its first item, and the focus
    // moves on to the interval list.
    Activate(program.Form1);
    PressKey(Qt::Key_Down);
    EXPECT_EQ(program.frmCountDown.alert().Text(), "20");
    PressKey(Qt::Key_Down);
    EXPECT_EQ(program.Form1.Combo1().Text(), "1");
    EXPECT_TRUE(program.frmCountDown.tmrDisplayTime().Enabled());
}

TEST_F(QtBackendTest, TheUsersActionsReachTheirHandlersUpToExitApp) {
    // Typing into the interval list changes its text and starts nothing, even with Return.
    program.Form1.Show();
    QLineEdit* intervals = Child<QComboBox>(program.Form1, program.Form1.Combo1())->lineEdit();
    intervals->clear();
    QTest::keyClicks(intervals, "15\r");
    EXPECT_EQ(program.Form1.Combo1().Text(), "15");
    EXPECT_FALSE(program.frmCountDown.tmrDisplayTime().Enabled());

    // A label press, with its button and modifier mask.
    std::vector<std::pair<MouseButton, int>> presses;
    program.frmCountDown.Label1().OnMouseDown([&](MouseButton button, std::int16_t shift, float,
                                                  float) { presses.emplace_back(button, shift); });
    QWidget* label = Child(program.frmCountDown, program.frmCountDown.Label1());
    QTest::mouseClick(label, Qt::LeftButton, Qt::ShiftModifier | Qt::AltModifier);
    QTest::mouseClick(label, Qt::MiddleButton, Qt::ControlModifier);
    EXPECT_EQ(presses, (std::vector<std::pair<MouseButton, int>>{{MouseButton::Left, 5},
                                                                 {MouseButton::Middle, 2}}));

    // Referance opens the dialog, whose picker hands the user's edit back; the window manager
    // closes it.
    ChooseFromMenu("Referance");
    ASSERT_TRUE(program.frmRef.IsVisible());
    Child<QDateTimeEdit>(program.frmRef, program.frmRef.DTPicker1())
        ->setDateTime(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 0), Qt::UTC));
    EXPECT_EQ(program.frmRef.DTPicker1().Value(), MakeDateTime(2026, 12, 7, 9, 5, 0));
    Window(program.frmRef)->close();
    EXPECT_FALSE(program.frmRef.IsLoaded());

    // Exit App ends the program; should it fail to, the loop ends with 3.
    QTimer::singleShot(0, [this] { ChooseFromMenu("Exit App"); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(3); });
    EXPECT_EQ(program.runtime.Run(), 0);
    EXPECT_EQ(program.runtime.LoadedWindowCount(), 0);
}

TEST_F(QtBackendTest, WindowsOpenCentredOnThePrimaryScreenAndStayThereAsTopMostGoesOnAndOff) {
    // Qt lists the primary screen first.
    const QList<QScreen*> screens = QGuiApplication::screens();
    ASSERT_EQ(screens.size(), 2);
    QWidget* window = Window(program.Form1);
    window->move(screens[1]->geometry().topLeft());
    program.Form1.Show();
    const QRect centred = window->frameGeometry();
    EXPECT_LE((centred.center() - screens[0]->availableGeometry().center()).manhattanLength(), 2);
    for (std::int32_t band : {kInsertTopMost, kInsertNotTopMost}) {
        backend->GetOsFunctions().SetWindowPos(program.Form1.hWnd(), band, 0, 0, 0, 0,
                                               kKeepPosition | kKeepSize);
        EXPECT_EQ(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), band == kInsertTopMost);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->frameGeometry(), centred);
    }
}

TEST(QtTickTimer, TicksAimJustPastABoundaryReArmFirstAndGoOnInANestedLoopUntilStopped) {
    // The countdown's quarter-second timer on a window of the test's own. Its wall clock stands at
    // a whole second plus what the test adds.
    constexpr std::int64_t kSecond = 1'796'601'600'000'000'000, kMs = 1'000'000;
    static std::int64_t wallNs = kSecond + 240 * kMs;
    QtWindowSystem windows{{TickAlignment::WallClock, [] { return wallNs; }}};
    ClockFake clock;
    DesktopFake desktop;
    Runtime runtime{windows, backend->GetOsFunctions(), clock, desktop};
    Form form(runtime, CountDownLayout());
    Timer& timer = form.Get<Timer>("tmrDisplayTime");
    QPointer<QtTickTimer> native = Window(form, windows)->findChild<QtTickTimer*>();
    std::vector<std::int64_t> armedInHandler;
    timer.OnTimer([&] {
        armedInHandler.push_back(native->isActive() ? native->ArmedDelayNs() : -1);
        wallNs += 1'000 * kMs;
        if (armedInHandler.size() == 1) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return armedInHandler.size() == 3; }, 5000));
        } else if (armedInHandler.size() == 3) {
            timer.SetEnabled(false);
        }
    });
    timer.SetEnabled(true);
    EXPECT_EQ(native->ArmedDelayNs(), 10 * kMs + kTickSlackNs);
    wallNs = kSecond + 529 * kMs;
    ASSERT_TRUE(QTest::qWaitFor([&] { return armedInHandler.size() == 3; }, 5000));
    EXPECT_EQ(armedInHandler, std::vector<std::int64_t>(3, 221 * kMs + kTickSlackNs));
    EXPECT_FALSE(native->isActive());
    // Unloading the window stops a running timer.
    timer.SetEnabled(true);
    form.Unload();
    EXPECT_TRUE(native.isNull() || !native->isActive());
}

TEST(QtTickTimer, AShotBeforeItsBoundaryRaisesNoTickAndTheTickFindsTheNewPeriod) {
    // The wall clock stands 1 ms before a whole second, as a clock slewed slow stands to a timer
    // that measures on the monotonic clock: every shot comes before the boundary.
    constexpr std::int64_t kSecond = 1'796'601'600'000'000'000, kMs = 1'000'000;
    std::int64_t wallNs = kSecond - kMs;
    int wallClockReads = 0;
    QtWindowSystem windows{{TickAlignment::WallClock, [&] {
                                ++wallClockReads;
                                return wallNs;
                            }}};
    ClockFake clock;
    DesktopFake desktop;
    Runtime runtime{windows, backend->GetOsFunctions(), clock, desktop};
    Form form(runtime, CountDownLayout());
    Timer& timer = form.Get<Timer>("tmrDisplayTime");
    std::vector<std::int64_t> wallInHandler;
    timer.OnTimer([&] { wallInHandler.push_back(wallNs); });
    timer.SetEnabled(true);
    // Enabling read the clock once and each shot once more: three shots came, none ticked.
    ASSERT_TRUE(QTest::qWaitFor([&] { return wallClockReads >= 4; }, 5000));
    EXPECT_TRUE(wallInHandler.empty());
    wallNs = kSecond;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !wallInHandler.empty(); }, 5000));
    // The shot after the tick is aimed at the next quarter, which this clock never reaches.
    const int readsAfterTick = wallClockReads;
    ASSERT_TRUE(QTest::qWaitFor([&] { return wallClockReads > readsAfterTick; }, 5000));
    timer.SetEnabled(false);
    EXPECT_EQ(wallInHandler, std::vector<std::int64_t>{kSecond});
}

}  // namespace
}  // namespace brindle

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Qt's offscreen platform needs no display; its desktop is the file's two screens.
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" BRINDLE_TWO_SCREENS);
    brindle::QtBackend backend(argc, argv);
    brindle::backend = &backend;
    return RUN_ALL_TESTS();
}
