#pragma once

#include <QMenu>
#include <map>

#include "runtime/control.h"

namespace brindle {

// The popup menu of a menu item's entries; the entry the user chooses is clicked.
class QtMenu final {
public:
    explicit QtMenu(MenuItem& menu);

    // Shows the menu at the pointer and returns once it is closed, chosen from or not.
    void ShowAtPointer();

private:
    QMenu popup_;
    std::map<QAction*, MenuItem*> entries_;
};

}  // namespace brindle
