#include "qt/qt_tick_timer.h"

#include <QDateTime>
#include <QtGlobal>
#include <algorithm>
#include <climits>
#include <utility>

#include "runtime/control.h"

namespace brindle {

std::int64_t DelayToNextTick(std::int64_t wallMs, std::int64_t intervalMs) {
    if (intervalMs <= 0) {
        return 0;
    }
    // The remainder is taken toward minus infinity, so times before 1970 align as later ones do;
    // nothing here adds to wallMs, so no time can overflow.
    std::int64_t intoPeriod = wallMs % intervalMs;
    if (intoPeriod < 0) {
        intoPeriod += intervalMs;
    }
    return intervalMs - intoPeriod + kTickSlackMs;
}

TickSettings TickSettings::FromEnvironment() {
    TickSettings settings;
    if (qEnvironmentVariableIntValue("BRINDLE_FREE_RUNNING_TICKS") == 1) {
        settings.alignment = TickAlignment::FreeRunning;
    }
    settings.wallClockMs = [] { return QDateTime::currentMSecsSinceEpoch(); };
    return settings;
}

QtTickTimer::QtTickTimer(Timer& control, TickSettings settings, QObject* parent)
    : QTimer(parent), control_(&control), settings_(std::move(settings)) {
    setObjectName(QString::fromStdString(control.Name()));
    // The default coarse timers may fire 5 % of the period early or late, which would put ticks
    // before the boundary they are meant to follow.
    setTimerType(Qt::PreciseTimer);
    setSingleShot(true);
    QObject::connect(this, &QTimer::timeout, this, &QtTickTimer::Tick);
}

void QtTickTimer::FollowControl() {
    if (control_ != nullptr && control_->Enabled()) {
        Arm();
    } else {
        stop();
    }
}

void QtTickTimer::Detach() {
    control_ = nullptr;
    stop();
}

void QtTickTimer::Tick() {
    if (control_ == nullptr || !control_->Enabled()) {
        return;
    }
    Arm();
    // The handler may unload the window: nothing of this object is touched after it.
    control_->RaiseTimer();
}

void QtTickTimer::Arm() {
    const std::int64_t interval = control_->Interval();
    const std::int64_t delay = settings_.alignment == TickAlignment::WallClock
                                   ? DelayToNextTick(settings_.wallClockMs(), interval)
                                   : std::max<std::int64_t>(interval, 0);
    start(static_cast<int>(std::min<std::int64_t>(delay, INT_MAX)));
}

}  // namespace brindle
