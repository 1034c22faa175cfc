#pragma once

#include "qt/qt_control_peer.h"

namespace brindle {

// A label: a QLabel with the label's caption and colours, whose mouse presses go to the label.
class QtLabel final : public QtControlPeer {
public:
    QtLabel(Label& label, QWidget& window, QtPeerEvents& events);

    void Apply(Property property) override;

private:
    const Label& label_;
};

}  // namespace brindle
