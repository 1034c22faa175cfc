#include <gtest/gtest.h>

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

#include "clock_fake.h"
#include "form_fake.h"
#include "os_functions_fake.h"
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

void Press(QWidget& widget, Qt::MouseButton button, Qt::KeyboardModifiers modifiers = {}) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), widget.mapToGlobal(QPointF(5, 5)),
                      button, button, modifiers);
    QCoreApplication::sendEvent(&widget, &press);
}

// Chooses the entry with the given caption in the popup menu the next right click opens.
void ChooseFromNextPopup(const QString& choice) {
    QTimer::singleShot(0, [choice] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << "no popup menu is open";
        const QList<QAction*> actions = menu->actions();
        menu->setActiveAction(*std::ranges::find(actions, choice, &QAction::text));
        QTest::keyClick(menu, Qt::Key_Return);
    });
}

class QtBackendTest : public testing::Test {
protected:
    QtBackendTest() {
        clock.Set(10, 0, 0);
        program.Start();
    }
    ~QtBackendTest() override {
        program.frmMenu.Unload();
        for (Form* form : forms) {
            form->Unload();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void Activate(Form& form) {
        form.Show();
        QApplication::setActiveWindow(Window(form));
        ASSERT_TRUE(QTest::qWaitForWindowActive(Window(form)));
    }
    // Every control with a widget shows its layout's place and font and the colours its control
    // holds now (0x00BBGGRR); a control outside the client area has no widget at all.
    void ExpectWidgetsMatchTheirControls(Form& form) {
        const auto qrect = [](const TwipsRect& twips) {
            const PixelRect r = ToPixels(twips, QtWindowSystem::kTwipsPerPixel);
            return QRect(r.left, r.top, r.width, r.height);
        };
        const auto colour = [](Colour c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, c >> 16); };
        EXPECT_EQ(Window(form)->rect(), qrect(form.Layout().clientArea));
        for (const auto& control : form.Controls()) {
            const ControlLayout& c = control->Layout();
            auto* widget = Window(form)->findChild<QWidget*>(QString::fromStdString(c.name));
            SCOPED_TRACE(form.Name() + "." + c.name);
            if (c.kind == ControlKind::Timer || c.kind == ControlKind::MenuItem ||
                !CanBeSeen(*control)) {
                EXPECT_EQ(widget, nullptr);
                continue;
            }
            ASSERT_NE(widget, nullptr);
            EXPECT_EQ(widget->geometry(), qrect(c.bounds));
            const QFont f = widget->font();
            if (!c.font.face.empty()) {
                EXPECT_EQ(std::tuple(f.family().toStdString(), f.pointSizeF(), int(f.weight()),
                                     f.italic()),
                          std::tuple(c.font.face, c.font.points, c.font.weight,
                                     c.font.slant == FontSlant::Italic));
            }
            const QPalette palette = widget->palette();
            if (auto* label = dynamic_cast<Label*>(control.get())) {
                EXPECT_EQ(palette.color(QPalette::WindowText), colour(label->ForeColor()));
                EXPECT_EQ(palette.color(QPalette::Window), colour(label->BackColor()));
            } else if (c.kind == ControlKind::ComboBox) {
                EXPECT_EQ(palette.color(QPalette::Text), colour(c.foreColor));
            }
        }
    }

    ClockFake clock;
    Program program{backend->GetWindowSystem(), backend->GetOsFunctions(), clock};
    const std::vector<Form*> forms{&program.frmCountDown, &program.Form1, &program.frmRef};
};

TEST_F(QtBackendTest, EveryLayoutControlBecomesAWidgetOfItsPlaceFontAndColours) {
    for (Form* form : forms) {
        ExpectWidgetsMatchTheirControls(*form);
    }
    // The flash's colour scheme reaches the widgets too.
    program.frmCountDown.dColors().SetValue(true);
    ExpectWidgetsMatchTheirControls(program.frmCountDown);
}

TEST_F(QtBackendTest, TheKeyboardWorksEachWindowInTabOrder) {
    // The focus starts at the lowest tab index and Tab follows the order round.
    for (Form* form : {forms[1], forms[2]}) {
        Activate(*form);
        const std::vector<Control*> order = TabOrder(*form);
        for (std::size_t i = 0; i <= order.size(); ++i) {
            if (i > 0) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
            const QString name = QString::fromStdString(order[i % order.size()]->Name());
            EXPECT_TRUE(Window(*form)->findChild<QWidget*>(name)->hasFocus()) << i;
        }
        form->Hide();
    }
    // The first Down in a fresh list picks its first item.
    Activate(program.Form1);
    QTest::keyClick(Window(program.Form1)->findChild<QComboBox*>("Combo2"), Qt::Key_Down);
    EXPECT_EQ(program.frmCountDown.alert().Text(), "20");
    QTest::keyClick(Window(program.Form1)->findChild<QComboBox*>("Combo1"), Qt::Key_Down);
    EXPECT_EQ(program.Form1.Combo1().Text(), "1");
    EXPECT_TRUE(program.frmCountDown.tmrDisplayTime().Enabled());
    // Return and Space press the focused Ok.
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
        Activate(program.frmRef);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_FALSE(program.frmRef.IsLoaded()) << key;
    }
}

TEST_F(QtBackendTest, TheUsersActionsReachTheirHandlers) {
    // Typing into the interval list changes its text and starts nothing, even with Return.
    program.Form1.Show();
    auto* intervals = Window(program.Form1)->findChild<QComboBox*>("Combo1");
    intervals->lineEdit()->clear();
    QTest::keyClicks(intervals->lineEdit(), "15");
    QTest::keyClick(intervals->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(program.Form1.Combo1().Text(), "15");
    EXPECT_FALSE(program.frmCountDown.tmrDisplayTime().Enabled());

    // A label press, with its button and modifier mask.
    auto* label = Window(program.frmCountDown)->findChild<QLabel*>("Label1");
    std::vector<std::pair<MouseButton, int>> presses;
    program.frmCountDown.Label1().OnMouseDown([&](MouseButton button, std::int16_t shift, float,
                                                  float) { presses.emplace_back(button, shift); });
    Press(*label, Qt::LeftButton, Qt::ShiftModifier | Qt::AltModifier);
    Press(*label, Qt::MiddleButton, Qt::ControlModifier);
    EXPECT_EQ(presses, (std::vector<std::pair<MouseButton, int>>{{MouseButton::Left, 5},
                                                                 {MouseButton::Middle, 2}}));

    // Referance from the menu opens the dialog, whose picker hands the user's edit back.
    ChooseFromNextPopup("Referance");
    Press(*Window(program.frmCountDown)->findChild<QLabel*>("lblCountDown"), Qt::RightButton);
    ASSERT_TRUE(program.frmRef.IsVisible());
    auto* picker = Window(program.frmRef)->findChild<QDateTimeEdit*>("DTPicker1");
    picker->setDateTime(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 0), Qt::UTC));
    EXPECT_EQ(program.frmRef.DTPicker1().Value(), MakeDateTime(2026, 12, 7, 9, 5, 0));
    // The window manager closes it.
    Window(program.frmRef)->close();
    EXPECT_FALSE(program.frmRef.IsLoaded());
}

TEST_F(QtBackendTest, ExitAppEndsTheProgram) {
    QTimer::singleShot(0, [this] {
        ChooseFromNextPopup("Exit App");
        Press(*Window(program.frmCountDown)->findChild<QLabel*>("lblCountDown"), Qt::RightButton);
    });
    // Should the program fail to quit, this ends the loop so the test can report it.
    bool rescued = false;
    QTimer::singleShot(5000, [&rescued] {
        rescued = true;
        QCoreApplication::quit();
    });
    EXPECT_EQ(program.runtime.Run(), 0);
    EXPECT_FALSE(rescued);
    EXPECT_EQ(program.runtime.LoadedWindowCount(), 0);
}

TEST_F(QtBackendTest, TopMostGoesOnAndOffInPlace) {
    QWidget* window = Window(program.frmCountDown);
    window->move(100, 120);
    const QRect before = window->geometry();
    for (std::int32_t band : {kInsertNotTopMost, kInsertTopMost}) {
        backend->GetOsFunctions().SetWindowPos(program.frmCountDown.hWnd(), band, 0, 0, 0, 0,
                                               kKeepPosition | kKeepSize);
        EXPECT_EQ(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), band == kInsertTopMost);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->geometry(), before);
    }
}

TEST_F(QtBackendTest, WindowsOpenCentredOnThePrimaryScreensWorkAreaWhereverTheyWere) {
    ASSERT_GE(QGuiApplication::screens().size(), 2) << "run as qt.CentredOnThePrimaryOfTwoScreens";
    QScreen* primary = QGuiApplication::primaryScreen();
    QScreen* other = QGuiApplication::screens()[QGuiApplication::screens()[0] == primary];
    Window(program.Form1)->move(other->geometry().topLeft() + QPoint(10, 10));
    program.Form1.Show();
    const QPoint offset =
        Window(program.Form1)->frameGeometry().center() - primary->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2);
}

TEST(QtTickTimer, TicksAimJustPastABoundaryReArmFirstAndGoOnInANestedLoopUntilStopped) {
    // A quarter-second timer on a window of the test's own; its wall clock stands at a whole
    // second plus what the test adds.
    constexpr std::int64_t kSecond = 1'796'601'600'000'000'000, kMs = 1'000'000;
    static std::int64_t wallNs = kSecond + 240 * kMs;
    QtWindowSystem windows{{TickAlignment::WallClock, [] { return wallNs; }}};
    ClockFake clock;
    OsFunctionsFake os{clock};
    Runtime runtime{windows, os, clock};
    WindowLayout layout;
    layout.controls = {ControlLayout{}};
    layout.controls[0].kind = ControlKind::Timer;
    layout.controls[0].timerInterval = 250;
    FormFake form(runtime, layout);
    Timer& timer = form.Get<Timer>("");
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
    EXPECT_EQ(native->ArmedDelayNs(), 11 * kMs);
    wallNs = kSecond + 529 * kMs;
    ASSERT_TRUE(QTest::qWaitFor([&] { return armedInHandler.size() == 3; }, 5000));
    EXPECT_EQ(armedInHandler, std::vector<std::int64_t>(3, 222 * kMs));
    EXPECT_FALSE(native->isActive());
    // Unloading the window stops a running timer.
    timer.SetEnabled(true);
    form.Unload();
    EXPECT_TRUE(native.isNull() || !native->isActive());
}

}  // namespace
}  // namespace brindle

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // The test list is read without the tests' environment; the two-screen run names its own.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    brindle::QtBackend backend(argc, argv);
    brindle::backend = &backend;
    return RUN_ALL_TESTS();
}
