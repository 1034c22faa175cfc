#pragma once

#include "qt/qt_control_peer.h"

namespace brindle {

// A drop-down list: an editable QComboBox. Picking an item picks it in the list; typing changes
// only the text.
class QtList final : public QtControlPeer {
public:
    QtList(ComboBox& list, QWidget& window, QtPeerEvents& events);

    void Apply(Property property) override;

private:
    void Fill();

    const ComboBox& list_;
};

}  // namespace brindle
