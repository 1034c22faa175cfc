#include "qt/qt_desktop.h"

#include <unistd.h>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QWindow>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "qt/qt_busy.h"
#include "qt/qt_control_peer.h"

namespace brindle {

namespace {

// The user's own settings file, ~/.config/brindle/brindle.conf unless XDG_CONFIG_HOME says
// otherwise.
QString SettingsFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/brindle/brindle.conf");
}

// How long a check waits for its sources: one that has not answered by then counts as free.
constexpr std::chrono::milliseconds kGiveUpAfter{200};
// What the sources are given to answer by themselves, under the check's own limit, so that a slow
// source usually ends its thread before the check gives up on it.
constexpr std::chrono::milliseconds kSourceDeadline{180};

// One check's sources as they answer.
struct Check {
    std::mutex mutex;
    std::condition_variable answered;
    BusyReasons reasons;
    int pending = 0;
};

// The X display the program runs on, with its own top-level windows, read on the GUI thread;
// nothing when it runs on another platform (Wayland, offscreen), which shows no X windows.
busy::X11Display CurrentX11Display() {
    busy::X11Display display;
    auto* x11 = qGuiApp == nullptr ? nullptr
                                   : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || QGuiApplication::platformName() != QLatin1String("xcb")) {
        return display;
    }
    display.connection = x11->connection();
    display.root = xcb_setup_roots_iterator(xcb_get_setup(display.connection)).data->root;
    for (const QWindow* window : QGuiApplication::allWindows()) {
        if (window->handle() != nullptr) {
            display.ownWindows.push_back(static_cast<std::uint32_t>(window->winId()));
        }
    }
    return display;
}

}  // namespace

// The threads of the checks under way: those that have still to answer, and sources still
// running, which a check that gave up on them leaves behind.
struct QtDesktop::Threads {
    std::mutex mutex;
    std::condition_variable ended;
    int answering = 0;
    int sources = 0;
    bool closing = false;
};

QtDesktop::QtDesktop() : threads_(std::make_shared<Threads>()) {}

QtDesktop::~QtDesktop() {
    std::unique_lock lock(threads_->mutex);
    threads_->closing = true;
    threads_->ended.wait(lock, [this] { return threads_->answering == 0; });
    // A source that hangs past its check is waited for as long again, then left to the end of the
    // process.
    threads_->ended.wait_for(lock, kGiveUpAfter, [this] { return threads_->sources == 0; });
}

std::optional<bool> QtDesktop::ReadFlag(const std::string& name) {
    const QSettings settings(SettingsFile(), QSettings::IniFormat);
    const QVariant value = settings.value(ToQString(name));
    if (settings.status() != QSettings::NoError || !value.isValid()) {
        return std::nullopt;
    }
    const QString text = value.toString();
    if (text != QLatin1String("true") && text != QLatin1String("false")) {
        return std::nullopt;
    }
    return text == QLatin1String("true");
}

std::optional<SettingError> QtDesktop::WriteFlag(const std::string& name, bool value) {
    QSettings settings(SettingsFile(), QSettings::IniFormat);
    settings.setValue(ToQString(name), value);
    settings.sync();
    switch (settings.status()) {
        case QSettings::NoError:
            return std::nullopt;
        case QSettings::AccessError:
            return SettingError{settings.fileName().toStdString(), "it cannot be written"};
        case QSettings::FormatError:
            return SettingError{settings.fileName().toStdString(), "it is not a settings file"};
    }
    return SettingError{settings.fileName().toStdString(), "it cannot be written"};
}

void QtDesktop::WhenBusyKnown(std::function<void(BusyReasons)> then) {
    const auto now = std::chrono::steady_clock::now();
    const auto deadline = now + kSourceDeadline;
    const auto giveUp = now + kGiveUpAfter;
    const busy::X11Display display = CurrentX11Display();
    const int ownPid = static_cast<int>(getpid());
    const std::pair<BusyReason, std::function<bool()>> sources[] = {
        {BusyReason::Microphone, [deadline] { return busy::Microphone(deadline); }},
        {BusyReason::Camera,
         // Without a camera there is nothing to look for in every process's open files.
         [deadline, ownPid] {
             return busy::AnyVideoDevice("/dev") && busy::Camera("/proc", ownPid, deadline);
         }},
        {BusyReason::DoNotDisturb, [] { return busy::BannersOff(); }},
        {BusyReason::DoNotDisturb, [deadline] { return busy::NotificationsInhibited(deadline); }},
        {BusyReason::FullScreen, [display] { return busy::OtherWindowFullScreen(display); }},
        {BusyReason::SessionLocked, [deadline] { return busy::SessionLocked(deadline); }},
    };

    // Each source runs on a thread of its own, so that one that hangs holds up none of the others.
    const auto check = std::make_shared<Check>();
    const std::shared_ptr<Threads> threads = threads_;
    for (const auto& [reason, source] : sources) {
        {
            const std::scoped_lock lock(check->mutex, threads->mutex);
            ++check->pending;
            ++threads->sources;
        }
        try {
            std::thread([check, threads, reason = reason, source = source] {
                const bool busy = source();
                {
                    const std::scoped_lock lock(check->mutex);
                    if (busy) {
                        check->reasons.Add(reason);
                    }
                    --check->pending;
                }
                check->answered.notify_all();
                {
                    const std::scoped_lock lock(threads->mutex);
                    --threads->sources;
                }
                threads->ended.notify_all();
            }).detach();
        } catch (const std::system_error&) {
            // A source that cannot be asked counts as free.
            const std::scoped_lock lock(check->mutex, threads->mutex);
            --check->pending;
            --threads->sources;
        }
    }

    // The answer comes from a thread of its own too, so that the flash never waits for it.
    {
        const std::scoped_lock lock(threads->mutex);
        ++threads->answering;
    }
    auto answer = [check, threads, giveUp](std::function<void(BusyReasons)> then) {
        BusyReasons reasons;
        {
            std::unique_lock lock(check->mutex);
            check->answered.wait_until(lock, giveUp, [&check] { return check->pending == 0; });
            reasons = check->reasons;
        }
        bool closing = false;
        {
            const std::scoped_lock lock(threads->mutex);
            closing = threads->closing;
        }
        if (!closing) {
            then(reasons);
        }
        then = nullptr;
        {
            const std::scoped_lock lock(threads->mutex);
            --threads->answering;
        }
        threads->ended.notify_all();
    };
    try {
        std::thread(answer, then).detach();
    } catch (const std::system_error&) {
        // Without a thread to wait on, the chime is not lost: it is answered free at once.
        {
            const std::scoped_lock lock(threads->mutex);
            --threads->answering;
        }
        then(BusyReasons{});
    }
}

}  // namespace brindle
