#include "qt/qt_tick_timer.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <QtGlobal>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <utility>

namespace brindle {

namespace {

constexpr std::int64_t kNsPerSecond = 1'000'000'000;

int CreateTimerFd() {
    // The monotonic clock measures the wait in real time, whatever the wall clock does meanwhile.
    const int fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd < 0) {
        // Without a timer the countdown cannot run at all; there is nothing useful to fall back on.
        qFatal("brindle: cannot create a timer: %s", std::strerror(errno));
    }
    return fd;
}

}  // namespace

std::int64_t RealWallClockNs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * kNsPerSecond + now.tv_nsec;
}

QtTickTimer::QtTickTimer(Timer& control, TickSettings settings, QObject* parent)
    : QObject(parent),
      control_(&control),
      aim_(std::move(settings)),
      fd_(CreateTimerFd()),
      notifier_(fd_, QSocketNotifier::Read, this) {
    setObjectName(QString::fromStdString(control.Name()));
    QObject::connect(&notifier_, &QSocketNotifier::activated, this, &QtTickTimer::Expired);
    control.Attach(this);
}

QtTickTimer::~QtTickTimer() {
    notifier_.setEnabled(false);
    ::close(fd_);
}

void QtTickTimer::ShowEnabled(bool enabled) {
    if (enabled) {
        Arm();
    } else {
        Disarm();
    }
}

void QtTickTimer::Detach() {
    control_->Attach(nullptr);
    control_ = nullptr;
    Disarm();
}

void QtTickTimer::Expired() {
    // Reading consumes the expiry. A wake-up with nothing to read (a nested event loop that saw
    // the same expiry, or a stale notification) is no tick.
    std::uint64_t expiries = 0;
    if (::read(fd_, &expiries, sizeof expiries) != sizeof expiries || expiries == 0) {
        return;
    }
    if (control_ == nullptr || !control_->Enabled()) {
        return;
    }
    const FiredShot shot = aim_.Fired(control_->Interval());
    SetKernelTimer(shot.nextDelayNs);
    if (shot.arrival == ShotArrival::Early) {
        return;
    }
    // The handler may unload the window: nothing of this object is touched after it.
    control_->RaiseTimer();
}

void QtTickTimer::Arm() {
    SetKernelTimer(aim_.AimNs(control_->Interval()));
}

void QtTickTimer::SetKernelTimer(std::int64_t delayNs) {
    // An all-zero time would disarm the kernel's timer; a period of nothing ticks at once.
    const std::int64_t delay = delayNs > 0 ? delayNs : 1;
    itimerspec when{};
    when.it_value.tv_sec = static_cast<time_t>(delay / kNsPerSecond);
    when.it_value.tv_nsec = static_cast<long>(delay % kNsPerSecond);
    // Setting the kernel's timer also clears an expiry not yet read, so a tick armed afresh
    // (a new period, the control enabled again) never runs twice.
    timerfd_settime(fd_, 0, &when, nullptr);
    armedDelayNs_ = delay;
}

void QtTickTimer::Disarm() {
    const itimerspec never{};
    timerfd_settime(fd_, 0, &never, nullptr);
    armedDelayNs_ = 0;
}

}  // namespace brindle
