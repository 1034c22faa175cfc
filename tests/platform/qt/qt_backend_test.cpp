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
#include "layouts.h"
#include "program.h"
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

QRect Pixels(const TwipsRect& twips) {
    const PixelRect r = ToPixels(twips, QtWindowSystem::kTwipsPerPixel);
    return {r.left, r.top, r.width, r.height};
}

// Right-clicks the countdown and chooses the entry with the given caption from its menu.
void ChooseFromMenu(Form& countDown, const QString& choice) {
    QTimer::singleShot(0, [choice] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << "no popup menu is open";
        const QList<QAction*> actions = menu->actions();
        menu->setActiveAction(*std::ranges::find(actions, choice, &QAction::text));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QTest::mouseClick(Child(countDown, countDown.Get<Label>("lblCountDown")), Qt::RightButton);
}

enum class Key {
    Tab = Qt::Key_Tab,
    Return = Qt::Key_Return,
    Space = Qt::Key_Space,
    Down = Qt::Key_Down
};

// Qt's steps for the cases both backends share.
struct Native {
    explicit Native(ClockFake&) {}
    WindowSystem& windows = toolkit->GetWindowSystem();
    OsFunctions& os = toolkit->GetOsFunctions();

    // Every control that can be seen has a widget of its layout's place and font, in the colours
    // its control holds now (0x00BBGGRR); any other control has none.
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
                EXPECT_EQ(
                    std::tuple(f.family().toStdString(), f.pointSizeF(), f.weight(), f.italic()),
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
    void Activate(Form& form) {
        form.Show();
        QApplication::setActiveWindow(Window(form));
        ASSERT_TRUE(QTest::qWaitForWindowActive(Window(form)));
    }
    void Press(Key key) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(key)); }
    bool HasFocus(Form& form, const Control& control) { return Child(form, control)->hasFocus(); }
    // Return in the text field too, which must start nothing either.
    void Type(Form& form, const Control& combo, const char* text) {
        QLineEdit* field = Child<QComboBox>(form, combo)->lineEdit();
        field->clear();
        QTest::keyClicks(field, QString(text) + "\r");
    }
    void PressLabel(Form& form, const Control& label, MouseButton button, ModifierKeys keys) {
        const Qt::MouseButton native = button == MouseButton::Left     ? Qt::LeftButton
                                       : button == MouseButton::Middle ? Qt::MiddleButton
                                                                       : Qt::RightButton;
        QTest::mouseClick(Child(form, label), native,
                          (keys.shift ? Qt::ShiftModifier : Qt::NoModifier) |
                              (keys.control ? Qt::ControlModifier : Qt::NoModifier) |
                              (keys.alt ? Qt::AltModifier : Qt::NoModifier));
    }
    void EditPicker(Form& form, DateTime value) {
        const CivilDateTime c = ToCivil(value);
        Child<QDateTimeEdit>(form, form.Get<DatePicker>("DTPicker1"))
            ->setDateTime(QDateTime(QDate(c.year, c.month, c.day),
                                    QTime(c.hour, c.minute, c.second), Qt::UTC));
    }
    void Close(Form& form) { Window(form)->close(); }
    // Should the program fail to end, the loop ends with 3.
    int ExitAppFromTheMenu(Program& program) {
        QTimer::singleShot(0, [&program] { ChooseFromMenu(program.frmCountDown, "Exit App"); });
        QTimer::singleShot(5000, [] { QCoreApplication::exit(3); });
        return program.runtime.Run();
    }
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

TEST_F(Backend, AScreenReaderHearsWhatEachWindowIsForAndNoNameFromTheCode) {
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

QDateTime ShownAs(DateTime value) {
    const CivilDateTime c = ToCivil(value);
    return QDateTime(QDate(c.year, c.month, c.day), QTime(c.hour, c.minute, c.second), Qt::UTC);
}

std::vector<std::string> Items(const QComboBox& combo) {
    std::vector<std::string> items;
    for (int i = 0; i < combo.count(); ++i) {
        items.push_back(combo.itemText(i).toStdString());
    }
    return items;
}

TEST_F(Backend, EachWidgetShowsWhatItsControlHoldsAndTellsItNothingBack) {
    // As each window is first shown.
    for (Form* form : forms) {
        for (const auto& control : form->Controls()) {
            SCOPED_TRACE(form->Name() + "." + control->Name());
            if (!CanBeSeen(*control)) {
                continue;
            }
            if (auto* label = dynamic_cast<Label*>(control.get())) {
                EXPECT_EQ(Child<QLabel>(*form, *label)->text().toStdString(), label->Caption());
            } else if (auto* list = dynamic_cast<ComboBox*>(control.get())) {
                const auto* combo = Child<QComboBox>(*form, *list);
                EXPECT_EQ(Items(*combo), list->Items());
                EXPECT_EQ(combo->currentText().toStdString(), list->Text());
                EXPECT_EQ(combo->isEnabled(), list->Enabled());
            } else if (auto* picker = dynamic_cast<DatePicker*>(control.get())) {
                EXPECT_EQ(Child<QDateTimeEdit>(*form, *picker)->dateTime(),
                          ShownAs(picker->Value()));
            }
        }
    }
    // And after each change.
    Label& countDown = program.frmCountDown.lblCountDown();
    countDown.SetCaption("04:59");
    EXPECT_EQ(Child<QLabel>(program.frmCountDown, countDown)->text(), "04:59");
    ComboBox& minutes = program.Form1.Combo1();
    auto* combo = Child<QComboBox>(program.Form1, minutes);
    minutes.SetText("15");
    minutes.AddItem("90");
    EXPECT_EQ(Items(*combo), minutes.Items());
    EXPECT_EQ(combo->currentText(), "15");
    EXPECT_EQ(combo->currentIndex(), -1);
    minutes.SetEnabled(false);
    EXPECT_FALSE(combo->isEnabled());
    DatePicker& picker = program.frmRef.DTPicker1();
    auto* edit = Child<QDateTimeEdit>(program.frmRef, picker);
    picker.SetValue(MakeDateTime(2010, 5, 6, 7, 8, 9));
    EXPECT_EQ(edit->dateTime(), ShownAs(MakeDateTime(2010, 5, 6, 7, 8, 9)));
    // A value the picker cannot show, which it moves into its range, stays the control's value.
    picker.SetValue(MakeDateTime(1500, 1, 1, 0, 0, 0));
    EXPECT_EQ(edit->dateTime(), ShownAs(MakeDateTime(1601, 1, 1, 0, 0, 0)));
    EXPECT_EQ(picker.Value(), MakeDateTime(1500, 1, 1, 0, 0, 0));
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
