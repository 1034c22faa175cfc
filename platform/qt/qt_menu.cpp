#include "qt/qt_menu.h"

#include <QCursor>

#include "qt/qt_controls.h"

namespace brindle {

QtMenu::QtMenu(MenuItem& menu) {
    popup_.setObjectName(ToQString(menu.Name()));
    popup_.setAccessibleName(ToQString(menu.Caption()));
    for (MenuItem* child : menu.Children()) {
        if (child->IsSeparator()) {
            popup_.addSeparator();
            continue;
        }
        QAction* action = popup_.addAction(ToQString(child->Caption()));
        action->setCheckable(child->Check() != MenuCheck::None);
        action->setChecked(child->Check() == MenuCheck::Checked);
        action->setObjectName(ToQString(child->Name()));
        entries_[action] = child;
    }
}

void QtMenu::ShowAtPointer() {
    QAction* chosen = popup_.exec(QCursor::pos());
    const auto found = entries_.find(chosen);
    if (found != entries_.end()) {
        found->second->RaiseClick();
    }
}

}  // namespace brindle
