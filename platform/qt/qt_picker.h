#pragma once

#include "qt/qt_control_peer.h"

namespace brindle {

// A date picker: a QDateTimeEdit with a calendar, in UTC so that no time zone shifts the value.
class QtPicker final : public QtControlPeer {
public:
    QtPicker(DatePicker& picker, QWidget& window, QtPeerEvents& events);

    void Apply(Property property) override;

private:
    const DatePicker& picker_;
};

}  // namespace brindle
