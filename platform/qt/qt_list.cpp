#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

#include "qt/qt_controls.h"

namespace brindle {

namespace {

QComboBox& NewComboBox(QWidget& window, const ControlLayout& layout) {
    auto* combo = new QComboBox(&window);
    combo->setEditable(true);
    // Typing only changes the text: no item is added and no completion picks one.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    // Qt selects, and reports as activated, an item whose text matches what was typed once
    // editing finishes (Enter or focus loss); typed text must start nothing.
    QObject::disconnect(combo->lineEdit(), &QLineEdit::editingFinished, combo, nullptr);
    SetColour(*combo, QPalette::Text, layout.foreColor);
    SetColour(*combo, QPalette::Base, layout.backColor);
    return *combo;
}

// What the list is told must not come back as the user's pick or typing.
struct Quiet {
    explicit Quiet(QComboBox& combo) : list(&combo), field(combo.lineEdit()) {}
    const QSignalBlocker list;
    const QSignalBlocker field;
};

}  // namespace

QtList::QtList(ComboBox& list, QWidget& window, QtPeerEvents& events)
    : QtShownControl(list, NewComboBox(window, list.Layout())) {
    auto& combo = Native<QComboBox>();
    events.Connect(&combo, &QComboBox::activated, [&list](int i) {
        if (i >= 0) {
            list.Pick(static_cast<std::size_t>(i));
        }
    });
    events.Connect(combo.lineEdit(), &QLineEdit::textEdited,
                   [&list](const QString& text) { list.AcceptTypedText(text.toStdString()); });
    Attach();
}

void QtList::ShowText(const std::string& text) {
    auto& combo = Native<QComboBox>();
    const Quiet quiet(combo);
    combo.setEditText(ToQString(text));
}

void QtList::ShowEnabled(bool enabled) {
    auto& combo = Native<QComboBox>();
    const Quiet quiet(combo);
    combo.setEnabled(enabled);
}

void QtList::ShowItems(const std::vector<std::string>& items) {
    auto& combo = Native<QComboBox>();
    const Quiet quiet(combo);
    // Clearing the list clears its field too.
    const QString text = combo.currentText();
    combo.clear();
    for (const std::string& item : items) {
        combo.addItem(ToQString(item));
    }
    // Qt makes the first item added the current one, and its open list takes its first item as
    // current when it gets the focus; a list just filled has none, so the first Down and the
    // first typed letter start from its top.
    combo.setCurrentIndex(-1);
    combo.view()->setCurrentIndex(QModelIndex());
    combo.setEditText(text);
}

}  // namespace brindle
