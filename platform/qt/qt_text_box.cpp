#include "qt/qt_text_box.h"

#include <QLineEdit>

namespace brindle {

QtTextBox::QtTextBox(const TextBox& box, QWidget& window)
    : QtControlPeer(box, *new QLineEdit(&window)), box_(box) {}

void QtTextBox::Apply(Property property) {
    if (property == Property::Text) {
        Native<QLineEdit>().setText(ToQString(box_.Text()));
    }
}

}  // namespace brindle
