#include "qt/qt_list.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

#include "runtime/form.h"

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

}  // namespace

QtList::QtList(ComboBox& list, QWidget& window, QtPeerEvents& events)
    : QtControlPeer(list, NewComboBox(window, list.Layout())), list_(list) {
    auto& combo = Native<QComboBox>();
    events.Connect(&combo, &QComboBox::activated, [&list](int i) {
        if (i >= 0) {
            list.Pick(static_cast<std::size_t>(i));
        }
    });
    events.Connect(combo.lineEdit(), &QLineEdit::textEdited,
                   [&list](const QString& text) { list.AcceptTypedText(text.toStdString()); });
}

void QtList::Apply(Property property) {
    auto& combo = Native<QComboBox>();
    const QSignalBlocker quietEdit(combo.lineEdit());
    if (property == Property::Items) {
        Fill();
    } else if (property == Property::Text) {
        combo.setEditText(ToQString(list_.Text()));
    } else if (property == Property::Enabled) {
        combo.setEnabled(list_.Enabled());
    }
}

void QtList::Fill() {
    auto& combo = Native<QComboBox>();
    combo.clear();
    for (const std::string& item : list_.Items()) {
        combo.addItem(ToQString(item));
    }
    // Qt makes the first item added the current one, and its open list takes its first item as
    // current when it gets the focus; a list just filled has none, so the first Down and the
    // first typed letter start from its top.
    combo.setCurrentIndex(-1);
    combo.view()->setCurrentIndex(QModelIndex());
    combo.setEditText(ToQString(list_.Text()));
}

}  // namespace brindle
