#include <QDateTimeEdit>

#include "qt/qt_controls.h"

namespace brindle {

namespace {

QDateTime ToQDateTime(DateTime value) {
    const CivilDateTime c = ToCivil(value);
    return QDateTime(QDate(c.year, c.month, c.day), QTime(c.hour, c.minute, c.second), Qt::UTC);
}

DateTime FromQDateTime(const QDateTime& value) {
    const QDate d = value.date();
    const QTime t = value.time();
    return MakeDateTime(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
}

// Tab and Shift+Tab leave the picker for the next control in tab order, as they leave every other
// control; the picker's fields are reached with the arrow keys.
class FieldLeavingDateTimeEdit final : public QDateTimeEdit {
public:
    using QDateTimeEdit::QDateTimeEdit;

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

QDateTimeEdit& NewPicker(QWidget& window, const DatePicker& model) {
    auto* picker = new FieldLeavingDateTimeEdit(&window);
    picker->setTimeSpec(Qt::UTC);
    // Time first: the field is narrow, and the time of day is what the countdown uses.
    picker->setDisplayFormat(QStringLiteral("HH:mm:ss dd/MM/yyyy"));
    picker->setCalendarPopup(true);
    picker->setDateRange(ToQDateTime(model.MinDate()).date(), ToQDateTime(model.MaxDate()).date());
    return *picker;
}

}  // namespace

QtPicker::QtPicker(DatePicker& picker, QWidget& window, QtPeerEvents& events)
    : QtShownControl(picker, NewPicker(window, picker)) {
    events.Connect(
        &Native<QDateTimeEdit>(), &QDateTimeEdit::dateTimeChanged,
        [&picker](const QDateTime& value) { picker.AcceptUserValue(FromQDateTime(value)); });
    Attach();
}

void QtPicker::ShowValue(DateTime value) {
    auto& edit = Native<QDateTimeEdit>();
    const QSignalBlocker quiet(edit);
    edit.setDateTime(ToQDateTime(value));
}

}  // namespace brindle
