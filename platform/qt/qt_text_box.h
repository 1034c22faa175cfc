#pragma once

#include "qt/qt_control_peer.h"

namespace brindle {

// A text box: a QLineEdit showing the box's text.
class QtTextBox final : public QtControlPeer {
public:
    QtTextBox(const TextBox& box, QWidget& window);

    void Apply(Property property) override;

private:
    const TextBox& box_;
};

}  // namespace brindle
