#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "clock_fake.h"
#include "program.h"
#include "qt/qt_backend.h"
#include "qt/qt_sound.h"

namespace brindle {
namespace {

// One application object per process, as in the program; main creates it and every test builds
// its own Program on it.
QtBackend* backend = nullptr;

QtBackend& Backend() {
    return *backend;
}

QColor Rgb(int r, int g, int b) {
    return QColor(r, g, b);
}

class QtBackendTest : public testing::Test {
protected:
    QtBackendTest() {
        clock.Set(10, 0, 0);
        program.Start();
    }

    ~QtBackendTest() override {
        program.frmMenu.Unload();
        program.frmRef.Unload();
        program.Form1.Unload();
        program.frmCountDown.Unload();
        // Peers delete their widgets later; let that happen so the next test starts clean.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    static QWidget* Window(const QString& name) {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == name && !widget->testAttribute(Qt::WA_WState_Hidden)) {
                return widget;
            }
        }
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == name) {
                return widget;
            }
        }
        return nullptr;
    }

    template <class T>
    static T* Widget(const QString& window, const QString& control) {
        QWidget* top = Window(window);
        return top == nullptr ? nullptr : top->findChild<T*>(control);
    }

    static void Press(QWidget& label, Qt::MouseButton button) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), label.mapToGlobal(QPointF(5, 5)),
                          button, button, Qt::NoModifier);
        QCoreApplication::sendEvent(&label, &press);
    }

    // Runs inspect on the popup menu the next right click opens, then chooses the entry with the
    // given caption (none: closes it unchosen).
    static void OnNextPopup(std::function<void(QMenu&)> inspect, const QString& choice) {
        QTimer::singleShot(0, [inspect, choice] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr) << "no popup menu is open";
            inspect(*menu);
            for (QAction* action : menu->actions()) {
                if (action->text() == choice) {
                    menu->setActiveAction(action);
                    QTest::keyClick(menu, Qt::Key_Return);
                    return;
                }
            }
            menu->close();
        });
    }

    ClockFake clock;
    Program program{Backend().GetWindowSystem(), Backend().GetOsFunctions(), clock};
};

TEST_F(QtBackendTest, CountdownWindowIsASmallFramelessTopmostToolWindowOfItsLayoutSize) {
    QWidget* window = Window("frmCountDown");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->size(), QSize(57, 39));
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(window->windowTitle(), "CountDown Timer");
    EXPECT_FALSE(window->windowIcon().isNull());
    const TwipsRect bounds = program.frmCountDown.Bounds();
    EXPECT_EQ(bounds.width, 855);
    EXPECT_EQ(bounds.height, 585);
}

TEST_F(QtBackendTest, CountdownLabelsHaveTheirLayoutGeometryFontsAndStacking) {
    auto* countDown = Widget<QLabel>("frmCountDown", "lblCountDown");
    auto* interval = Widget<QLabel>("frmCountDown", "Label1");
    ASSERT_NE(countDown, nullptr);
    ASSERT_NE(interval, nullptr);
    EXPECT_EQ(countDown->geometry(), QRect(0, 0, 57, 29));
    EXPECT_EQ(interval->geometry(), QRect(0, 24, 57, 15));
    EXPECT_EQ(interval->text(), "Label1");
    EXPECT_TRUE(countDown->alignment().testFlag(Qt::AlignHCenter));

    EXPECT_EQ(countDown->font().family(), "Arial");
    EXPECT_DOUBLE_EQ(countDown->font().pointSizeF(), 14.25);
    EXPECT_EQ(countDown->font().weight(), QFont::Bold);
    EXPECT_EQ(interval->font().weight(), QFont::Normal);
    EXPECT_DOUBLE_EQ(interval->font().pointSizeF(), 8.25);
    // Arial itself or a font with its metrics.
    const QString resolved = QFontInfo(countDown->font()).family();
    EXPECT_TRUE(resolved == "Arial" || resolved == "Liberation Sans") << resolved.toStdString();

    // The interval label is listed in front of the countdown, where the two overlap.
    EXPECT_EQ(Window("frmCountDown")->childAt(28, 26), interval);
}

TEST_F(QtBackendTest, CountdownLabelsShowBothColourSchemesAsTheHiddenButtonsArePressed) {
    auto* countDown = Widget<QLabel>("frmCountDown", "lblCountDown");
    auto* interval = Widget<QLabel>("frmCountDown", "Label1");
    ASSERT_TRUE(countDown && interval);

    // The normal scheme is set as the window loads.
    EXPECT_EQ(countDown->palette().color(QPalette::WindowText), Rgb(255, 255, 0));
    EXPECT_EQ(countDown->palette().color(QPalette::Window), Rgb(0, 128, 255));
    EXPECT_EQ(interval->palette().color(QPalette::WindowText), Rgb(0, 128, 255));
    EXPECT_EQ(interval->palette().color(QPalette::Window), Rgb(192, 192, 192));

    program.frmCountDown.Get<CommandButton>("dColors").SetValue(true);
    EXPECT_EQ(countDown->palette().color(QPalette::WindowText), Rgb(255, 255, 128));
    EXPECT_EQ(countDown->palette().color(QPalette::Window), Rgb(0, 0, 0));
    EXPECT_EQ(interval->palette().color(QPalette::WindowText), Rgb(255, 255, 128));
    EXPECT_EQ(interval->palette().color(QPalette::Window), Rgb(0, 0, 0));

    program.frmCountDown.Get<CommandButton>("Colors").SetValue(true);
    EXPECT_EQ(countDown->palette().color(QPalette::Window), Rgb(0, 128, 255));
    EXPECT_EQ(interval->palette().color(QPalette::Window), Rgb(192, 192, 192));
}

TEST_F(QtBackendTest, OffScreenControlsOfTheCountdownWindowAreNoWidgetsAndNeverTakeTheKeyboard) {
    QWidget* window = Window("frmCountDown");
    ASSERT_NE(window, nullptr);
    // Nothing outside the client area exists for the keyboard or a screen reader to reach.
    for (const char* name : {"alert", "GetWindowState", "dColors", "Colors", "cmdAlert",
                             "cmdStopTimer", "cmdStartTimer"}) {
        EXPECT_EQ(window->findChild<QWidget*>(name), nullptr) << name;
    }

    // The user activates the countdown window and types.
    window->activateWindow();
    QApplication::setActiveWindow(window);
    QTest::keyClicks(window, "45");
    QTest::keyClick(window, Qt::Key_Return);

    EXPECT_EQ(program.frmCountDown.alert().Text(), "20");
}

TEST_F(QtBackendTest, TopmostChangesKeepGeometryAndVisibility) {
    QWidget* countDown = Window("frmCountDown");
    ASSERT_NE(countDown, nullptr);
    countDown->move(100, 120);
    const QRect before = countDown->geometry();
    OsFunctions& os = Backend().GetOsFunctions();

    os.SetWindowPos(program.frmCountDown.hWnd(), kInsertNotTopMost, 0, 0, 0, 0,
                    kKeepPosition | kKeepSize);
    EXPECT_FALSE(countDown->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(countDown->isVisible());
    EXPECT_EQ(countDown->geometry(), before);

    os.SetWindowPos(program.frmCountDown.hWnd(), kInsertTopMost, 0, 0, 0, 0,
                    kKeepPosition | kKeepSize);
    EXPECT_TRUE(countDown->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(countDown->isVisible());
    EXPECT_EQ(countDown->geometry(), before);

    // The setup window loads hidden and makes itself topmost; it stays hidden.
    program.Form1.Load();
    QWidget* setup = Window("Form1");
    ASSERT_NE(setup, nullptr);
    EXPECT_TRUE(setup->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    os.SetWindowPos(program.Form1.hWnd(), kInsertNotTopMost, 0, 0, 0, 0, kKeepPosition | kKeepSize);
    EXPECT_FALSE(setup->isVisible());
}

TEST_F(QtBackendTest, CountdownMenuListsItsEntriesAndChangeTimeOpensTheSetupWindow) {
    auto* countDown = Widget<QLabel>("frmCountDown", "lblCountDown");
    ASSERT_NE(countDown, nullptr);
    std::vector<std::string> entries;
    OnNextPopup(
        [&entries](QMenu& menu) {
            for (QAction* action : menu.actions()) {
                entries.push_back(action->isSeparator() ? "-" : action->text().toStdString());
            }
        },
        "Change Time");

    // A right click on the countdown.
    Press(*countDown, Qt::RightButton);

    EXPECT_EQ(entries, (std::vector<std::string>{"Change Time", "Referance", "-", "Exit App"}));
    EXPECT_TRUE(program.Form1.IsVisible());
    QWidget* setup = Window("Form1");
    ASSERT_NE(setup, nullptr);
    EXPECT_TRUE(setup->isVisible());
}

TEST_F(QtBackendTest, SetupWindowMatchesItsLayoutOnceLoaded) {
    program.Form1.Show();
    QWidget* setup = Window("Form1");
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(setup->size(), QSize(114, 147));
    EXPECT_TRUE(setup->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(setup->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(setup->palette().color(QPalette::Window), Rgb(224, 224, 224));

    auto* intervals = setup->findChild<QComboBox*>("Combo1");
    auto* leads = setup->findChild<QComboBox*>("Combo2");
    ASSERT_TRUE(intervals && leads);
    EXPECT_EQ(intervals->geometry(), QRect(0, 40, 113, 22));
    EXPECT_EQ(leads->geometry(), QRect(0, 80, 113, 21));
    EXPECT_TRUE(intervals->isEditable());
    EXPECT_EQ(intervals->insertPolicy(), QComboBox::NoInsert);
    EXPECT_EQ(intervals->currentText(), "Time Frames");
    EXPECT_EQ(leads->currentText(), "Alert Time");
    ASSERT_EQ(intervals->count(), 60);
    EXPECT_EQ(intervals->itemText(0), "1");
    EXPECT_EQ(intervals->itemText(59), "60");
    QStringList leadItems;
    for (int i = 0; i < leads->count(); ++i) {
        leadItems << leads->itemText(i);
    }
    EXPECT_EQ(leadItems, QStringList({"20", "30", "40", "50", "60"}));
    EXPECT_EQ(intervals->palette().color(QPalette::Text), Rgb(128, 128, 128));

    auto* title = setup->findChild<QLabel*>("Label3");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), "Ombers Hack of Varn's Timer");
    EXPECT_TRUE(title->font().italic());
    EXPECT_EQ(title->font().weight(), QFont::Bold);
    EXPECT_EQ(title->palette().color(QPalette::WindowText), Rgb(255, 0, 0));
}

TEST_F(QtBackendTest, TypingAnIntervalAndPressingEnterStartsNothing) {
    program.Form1.Show();
    auto* intervals = Widget<QComboBox>("Form1", "Combo1");
    ASSERT_NE(intervals, nullptr);
    intervals->lineEdit()->clear();
    program.Form1.Combo1().AcceptTypedText("");

    QTest::keyClicks(intervals->lineEdit(), "15");
    QTest::keyClick(intervals->lineEdit(), Qt::Key_Return);
    intervals->clearFocus();

    EXPECT_EQ(program.Form1.Combo1().Text(), "15");
    EXPECT_EQ(intervals->count(), 60);
    EXPECT_TRUE(program.Form1.IsVisible());
    EXPECT_FALSE(program.frmCountDown.tmrDisplayTime().Enabled());
}

TEST_F(QtBackendTest, TheFirstDownInAFreshListPicksItsFirstItemAndTheCountdownRuns) {
    program.Form1.Show();
    auto* intervals = Widget<QComboBox>("Form1", "Combo1");
    auto* leads = Widget<QComboBox>("Form1", "Combo2");
    ASSERT_TRUE(intervals && leads);
    // A list just filled has no item of its own choosing: only its text shows.
    EXPECT_EQ(intervals->currentIndex(), -1);
    EXPECT_EQ(leads->currentIndex(), -1);
    EXPECT_EQ(intervals->currentText(), "Time Frames");

    QTest::keyClick(leads, Qt::Key_Down);
    EXPECT_EQ(program.frmCountDown.alert().Text(), "20");
    EXPECT_FALSE(leads->isEnabled());

    QTest::keyClick(intervals, Qt::Key_Down);
    EXPECT_FALSE(program.Form1.IsVisible());
    EXPECT_TRUE(program.frmCountDown.IsVisible());
    auto* interval = Widget<QLabel>("frmCountDown", "Label1");
    ASSERT_NE(interval, nullptr);
    EXPECT_EQ(interval->text(), "1 Min");
    // The native timer ticks and the label shows the time left.
    auto* countDown = Widget<QLabel>("frmCountDown", "lblCountDown");
    ASSERT_NE(countDown, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return countDown->text() == "01:00"; }, 5000))
        << countDown->text().toStdString();
}

TEST_F(QtBackendTest, TypingOneIntoTheOpenIntervalListPicksOne) {
    program.Form1.Show();
    auto* intervals = Widget<QComboBox>("Form1", "Combo1");
    ASSERT_NE(intervals, nullptr);
    intervals->showPopup();
    QAbstractItemView* popup = intervals->view();
    QTest::keyClick(popup, Qt::Key_1);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(program.Form1.Combo1().Text(), "1");
    EXPECT_EQ(program.frmCountDown.Get<Label>("Label1").Caption(), "1 Min");
}

TEST_F(QtBackendTest, KeyboardFocusFollowsTheTabIndexFromTheLowestOn) {
    program.Form1.Show();
    QWidget* setup = Window("Form1");
    ASSERT_NE(setup, nullptr);
    QApplication::setActiveWindow(setup);
    ASSERT_TRUE(QTest::qWaitForWindowActive(setup));
    auto* intervals = Widget<QComboBox>("Form1", "Combo1");
    auto* leads = Widget<QComboBox>("Form1", "Combo2");
    ASSERT_TRUE(intervals && leads);
    EXPECT_TRUE(intervals->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(leads->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(intervals->hasFocus());
    program.Form1.Hide();

    // In the reference dialog the picker comes first, then Ok, which Space presses.
    program.frmRef.Show();
    QWidget* dialog = Window("frmRef");
    ASSERT_NE(dialog, nullptr);
    QApplication::setActiveWindow(dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    auto* picker = dialog->findChild<QDateTimeEdit*>("DTPicker1");
    auto* ok = dialog->findChild<QPushButton*>("Command1");
    ASSERT_TRUE(picker && ok);
    EXPECT_TRUE(picker->hasFocus());
    // The arrow keys move between the picker's fields and change them: Right to the minutes,
    // Up adds one.
    QTest::keyClick(picker, Qt::Key_Home);
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(picker, Qt::Key_Right);
    }
    QTest::keyClick(picker, Qt::Key_Up);
    EXPECT_EQ(picker->time(), QTime(0, 1, 0));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(ok->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(picker->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(ok, Qt::Key_Return);
    EXPECT_FALSE(program.frmRef.IsLoaded());

    program.frmRef.Show();
    dialog = Window("frmRef");
    ASSERT_NE(dialog, nullptr);
    ok = dialog->findChild<QPushButton*>("Command1");
    ASSERT_NE(ok, nullptr);
    QTest::keyClick(ok, Qt::Key_Space);
    EXPECT_FALSE(program.frmRef.IsLoaded());
}

TEST_F(QtBackendTest, WindowsOpenCentredOnThePrimaryScreensWorkAreaWhereverTheyWere) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    ASSERT_GE(screens.size(), 2) << "run as qt.WindowsCentreOnThePrimaryOfTwoScreens";
    QScreen* primary = QGuiApplication::primaryScreen();
    QScreen* other = screens.front() == primary ? screens.back() : screens.front();
    ASSERT_NE(primary->geometry(), other->geometry());

    // The setup window is loaded on the other screen, then shown for the first time.
    program.Form1.Load();
    QWidget* setup = Window("Form1");
    ASSERT_NE(setup, nullptr);
    setup->move(other->geometry().topLeft() + QPoint(10, 10));
    program.Form1.Show();

    const QPoint centre = setup->frameGeometry().center();
    const QPoint expected = primary->availableGeometry().center();
    EXPECT_LE((centre - expected).manhattanLength(), 2)
        << centre.x() << "," << centre.y() << " instead of " << expected.x() << "," << expected.y();
}

TEST_F(QtBackendTest, ReferanceOpensAFramedDialogWithThePickerAtItsDesignValueAndRange) {
    auto* countDown = Widget<QLabel>("frmCountDown", "lblCountDown");
    ASSERT_NE(countDown, nullptr);
    OnNextPopup([](QMenu&) {}, "Referance");
    Press(*countDown, Qt::RightButton);

    ASSERT_TRUE(program.frmRef.IsVisible());
    QWidget* dialog = Window("frmRef");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), "Form2");
    EXPECT_FALSE(dialog->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(dialog->windowFlags() & Qt::WindowType_Mask, Qt::Window);
    EXPECT_FALSE(dialog->windowIcon().isNull());
    EXPECT_EQ(dialog->size(), QSize(108, 62));

    auto* picker = dialog->findChild<QDateTimeEdit*>("DTPicker1");
    auto* ok = dialog->findChild<QPushButton*>("Command1");
    ASSERT_TRUE(picker && ok);
    EXPECT_EQ(picker->dateTime(), QDateTime(QDate(2003, 11, 20), QTime(0, 0, 0), Qt::UTC));
    EXPECT_EQ(picker->minimumDate(), QDate(1601, 1, 1));
    EXPECT_EQ(picker->maximumDate(), QDate(9999, 12, 31));
    EXPECT_TRUE(picker->displayFormat().contains("HH:mm"));
    EXPECT_EQ(ok->text(), "Ok");
    EXPECT_EQ(ok->geometry(), QRect(24, 40, 57, 17));

    // The user sets a reference time and confirms it.
    picker->setDateTime(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 0), Qt::UTC));
    EXPECT_EQ(program.frmRef.Get<DatePicker>("DTPicker1").Value(),
              MakeDateTime(2026, 12, 7, 9, 5, 0));
    ok->click();
    EXPECT_FALSE(program.frmRef.IsLoaded());
    EXPECT_EQ(program.frmCountDown.ReferenceTime, MakeDateTime(2026, 12, 7, 9, 5, 0));
}

TEST_F(QtBackendTest, ClosingTheDialogFromTheWindowManagerUnloadsIt) {
    program.frmRef.Show();
    QWidget* dialog = Window("frmRef");
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->close());
    EXPECT_FALSE(program.frmRef.IsLoaded());
    EXPECT_TRUE(program.frmCountDown.IsVisible());
}

TEST_F(QtBackendTest, ExitAppEndsTheEventLoop) {
    auto* countDown = Widget<QLabel>("frmCountDown", "lblCountDown");
    ASSERT_NE(countDown, nullptr);
    bool rescued = false;
    QTimer::singleShot(0, [countDown] {
        OnNextPopup([](QMenu&) {}, "Exit App");
        Press(*countDown, Qt::RightButton);
    });
    // Should the program fail to quit, this ends the loop so the test can report it.
    QTimer::singleShot(5000, [&rescued] {
        rescued = true;
        QCoreApplication::quit();
    });
    EXPECT_EQ(program.runtime.Run(), 0);
    EXPECT_FALSE(rescued);
    EXPECT_EQ(program.runtime.LoadedWindowCount(), 0);
}

TEST(QtWindowSystem, QuitBeforeTheEventLoopMakesRunReturnAtOnce) {
    WindowSystem& windows = Backend().GetWindowSystem();
    bool rescued = false;
    QTimer rescue;
    rescue.setSingleShot(true);
    QObject::connect(&rescue, &QTimer::timeout, [&rescued] {
        rescued = true;
        QCoreApplication::quit();
    });
    rescue.start(5000);
    windows.Quit();
    EXPECT_EQ(windows.Run(), 0);
    EXPECT_FALSE(rescued);
}

TEST(QtSoundLookup, PrefersTheWorkingDirectoryAndSkipsADirectoryOfTheSameName) {
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString previous = QDir::currentPath();
    QDir::setCurrent(work.path());

    QFile chime(work.filePath("S_Timer.wav"));
    ASSERT_TRUE(chime.open(QIODevice::WriteOnly));
    chime.write("RIFF");
    chime.close();
    EXPECT_EQ(QtSound::Locate("S_Timer.wav"), QDir(work.path()).absoluteFilePath("S_Timer.wav"));

    QDir(work.path()).mkdir("Other.wav");
    EXPECT_NE(QtSound::Locate("Other.wav"), QDir(work.path()).absoluteFilePath("Other.wav"));
    EXPECT_TRUE(QtSound::Locate("No such sound.wav").isEmpty());

    // A directory given as the sound is silence, not a crash.
    QtSound sound;
    EXPECT_FALSE(sound.Play(QDir(work.path()).absoluteFilePath("Other.wav").toStdString()));
    QDir::setCurrent(previous);
}

}  // namespace
}  // namespace brindle

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // A run may name a screen layout of its own for the offscreen platform.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    brindle::QtBackend backend(argc, argv);
    brindle::backend = &backend;
    return RUN_ALL_TESTS();
}
