#pragma once

#include "qt/qt_control_peer.h"

namespace brindle {

// A command button: a QPushButton whose click presses the button.
class QtButton final : public QtControlPeer {
public:
    QtButton(CommandButton& button, QWidget& window, QtPeerEvents& events);

    // A button's caption and colour are fixed by its layout.
    void Apply(Property) override {}
};

}  // namespace brindle
