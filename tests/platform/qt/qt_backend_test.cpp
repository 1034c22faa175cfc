#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

#include "clock_fake.h"
#include "qt/qt_tick_timer.h"
#include "qt/qt_window_peer.h"
#include "qt/qt_window_system.h"
#include "runtime/peer_rules.h"
#include "toolkit.h"

namespace brindle {
namespace {

// One application object per process, as in the program; main creates it.
Toolkit* toolkit = nullptr;

QWidget* Window(Form& form, WindowSystem& system = toolkit->GetWindowSystem()) {
    return static_cast<QtWindowSystem&>(system).Find(form.hWnd())->Window();
}

template <class Widget = QWidget>
Widget* Child(Form& form, const Control& control) {
    return Window(form)->findChild<Widget*>(QString::fromStdString(control.Name()));
}

struct Shown;

// Qt's steps for the cases both backends share.
struct Native {
    explicit Native(ClockFake&) {}
    WindowSystem& windows = toolkit->GetWindowSystem();
    OsFunctions& os = toolkit->GetOsFunctions();

    float TwipsPerPixel(Form&) { return QtWindowSystem::kTwipsPerPixel; }
    double FontSize(Form&, double points) { return points; }
    std::pair<int, int> ClientSize(Form& form) {
        return {Window(form)->width(), Window(form)->height()};
    }
    std::optional<Shown> Read(Form& form, const Control& control);
    // Return in the text field too, which must start nothing either.
    void Type(Form& form, const Control& combo, const char* text) {
        QLineEdit* field = Child<QComboBox>(form, combo)->lineEdit();
        field->clear();
        QTest::keyClicks(field, QString(text) + "\r");
    }
    void MiddlePressWithShiftAndCtrl(Form& form, const Control& label) {
        QTest::mouseClick(Child(form, label), Qt::MiddleButton,
                          Qt::ShiftModifier | Qt::ControlModifier);
    }
    void EditPicker(Form& form, DateTime value) {
        const CivilDateTime c = ToCivil(value);
        Child<QDateTimeEdit>(form, form.Get<DatePicker>("DTPicker1"))
            ->setDateTime(QDateTime(QDate(c.year, c.month, c.day),
                                    QTime(c.hour, c.minute, c.second), Qt::UTC));
    }
    void Close(Form& form) { Window(form)->close(); }
    static std::unique_ptr<WindowSystem> TickWindows(TickSettings ticks) {
        return std::make_unique<QtWindowSystem>(std::move(ticks));
    }
    static bool WaitFor(WindowSystem&, const std::function<bool()>& done, int ms = 5000) {
        return QTest::qWaitFor(done, ms);
    }
};

}  // namespace
}  // namespace brindle

#include "../backend_cases.h"

namespace brindle {
namespace {

std::optional<Shown> Native::Read(Form& form, const Control& control) {
    QWidget* widget = Child(form, control);
    if (widget == nullptr) {
        return std::nullopt;
    }
    const QFont f = widget->font();
    const QPalette p = widget->palette();
    const bool label = control.Kind() == ControlKind::Label;
    const auto colour = [&](QPalette::ColorRole role) {
        const QColor c = p.color(role);
        return Colour(c.red() | c.green() << 8 | c.blue() << 16);
    };
    Shown shown;
    const QRect g = widget->geometry();
    shown.place = {g.x(), g.y(), g.width(), g.height()};
    shown.font = {f.family().toStdString(), f.pointSizeF(), f.weight(), f.italic()};
    shown.colours = {colour(label ? QPalette::WindowText : QPalette::Text),
                     colour(label ? QPalette::Window : QPalette::Base)};
    shown.enabled = widget->isEnabled();
    if (auto* text = qobject_cast<QLabel*>(widget)) {
        shown.text = text->text().toStdString();
    } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
        shown.text = list->currentText().toStdString();
        for (int i = 0; i < list->count(); ++i) {
            shown.items.push_back(list->itemText(i).toStdString());
        }
    } else if (auto* picker = qobject_cast<QDateTimeEdit*>(widget)) {
        const QDateTime v = picker->dateTime();
        shown.value = MakeDateTime(v.date().year(), v.date().month(), v.date().day(),
                                   v.time().hour(), v.time().minute(), v.time().second());
    }
    return shown;
}

TEST_F(Backend, WindowsOpenCentredOnThePrimaryScreenAndStayThereAsTopMostGoesOnAndOff) {
    // Qt lists the primary screen first.
    const QList<QScreen*> screens = QGuiApplication::screens();
    ASSERT_EQ(screens.size(), 2);
    QWidget* window = Window(program.Form1);
    window->move(screens[1]->geometry().topLeft());
    program.Form1.Show();
    const QRect centred = window->frameGeometry();
    EXPECT_LE((centred.center() - screens[0]->availableGeometry().center()).manhattanLength(), 2);
    for (std::int32_t band : {-1, -2}) {
        native.os.SetWindowPos(program.Form1.hWnd(), band, 0, 0, 0, 0, kKeepPosition | kKeepSize);
        EXPECT_EQ(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), band == -1);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->frameGeometry(), centred);
    }
}

TEST(QtTickTimer, IsArmedForTheTimeToJustPastTheNextBoundary) {
    // The wall clock stands at a whole second plus 240 ms.
    constexpr std::int64_t kMs = 1'000'000;
    TickedWindow w([] { return 1'796'601'600'000'000'000 + 240 * kMs; });
    w.timer.SetEnabled(true);
    const QtTickTimer* native = Window(w.form, *w.windows)->findChild<QtTickTimer*>();
    EXPECT_EQ(native->ArmedDelayNs(), 10 * kMs + kTickSlackNs);
    w.timer.SetEnabled(false);
}

}  // namespace
}  // namespace brindle

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Qt's offscreen platform needs no display; its desktop is the file's two screens.
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" BRINDLE_TWO_SCREENS);
    brindle::Toolkit toolkit(argc, argv);
    brindle::toolkit = &toolkit;
    return RUN_ALL_TESTS();
}
