#include "qt/qt_desktop.h"

#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QWindow>
#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "qt/busy/busy.h"
#include "qt/qt_controls.h"
#include "qt/qt_helper.h"

namespace brindle {

namespace {

// The user's own settings file, ~/.config/brindle/brindle.conf unless XDG_CONFIG_HOME says
// otherwise.
QString SettingsFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/brindle/brindle.conf");
}

// How long a check waits for brindle-busy from its start: one that has not answered by then is
// ended, and the person counts as free.
constexpr std::chrono::milliseconds kGiveUpAfter{200};

// The arguments for brindle-busy: this process, and its top-level X windows, read on the GUI
// thread, when it runs on X; on another platform (Wayland, offscreen) it shows no X windows, and
// no full-screen window is looked for.
std::vector<std::string> BusyCheckArguments(const std::string& helper) {
    std::vector<std::string> arguments{helper, "--pid", std::to_string(getpid())};
    if (qGuiApp == nullptr || QGuiApplication::platformName() != QLatin1String("xcb")) {
        return arguments;
    }
    for (const QWindow* window : QGuiApplication::allWindows()) {
        if (window->handle() != nullptr) {
            arguments.insert(arguments.end(), {"--window", std::to_string(window->winId())});
        }
    }
    return arguments;
}

// The reasons in brindle-busy's exit status; none when it did not answer.
BusyReasons ReasonsFrom(int status) {
    BusyReasons reasons;
    if (!WIFEXITED(status) || (WEXITSTATUS(status) & ~busy::kReasonBits) != busy::kAnswered) {
        return reasons;
    }
    for (const BusyReason reason :
         {BusyReason::Microphone, BusyReason::Camera, BusyReason::DoNotDisturb,
          BusyReason::FullScreen, BusyReason::SessionLocked}) {
        if ((WEXITSTATUS(status) & (1 << static_cast<int>(reason))) != 0) {
            reasons.Add(reason);
        }
    }
    return reasons;
}

// Waits for the process to end until the deadline; false when it is still running then. It is
// not reaped, so that its id cannot pass to another process while it may still be ended.
bool EndsBy(pid_t pid, std::chrono::steady_clock::time_point deadline) {
    const int ended = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (ended >= 0) {
        pollfd exited{ended, POLLIN, 0};
        int ready = -1;
        while (ready < 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            ready = ::poll(&exited, 1, static_cast<int>(std::max<long long>(left.count(), 0)));
            if (ready < 0 && errno != EINTR) {
                break;
            }
        }
        ::close(ended);
        return ready > 0;
    }
    // A kernel without process descriptors (before Linux 5.3) is asked every few milliseconds.
    siginfo_t info{};
    while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace

// The checks under way: their waiting threads, and the brindle-busy each waits for until it has
// reaped it.
struct QtDesktop::Threads {
    std::mutex mutex;
    std::condition_variable ended;
    int answering = 0;
    std::vector<pid_t> helpers;
    bool closing = false;
};

QtDesktop::QtDesktop()
    : threads_(std::make_shared<Threads>()),
      helper_(FindHelper(ProgramDir(), BRINDLE_BUSY_CHECK)) {}

QtDesktop::~QtDesktop() {
    std::unique_lock lock(threads_->mutex);
    threads_->closing = true;
    // A check under way is ended rather than waited for; its thread then answers nothing.
    for (const pid_t helper : threads_->helpers) {
        ::kill(helper, SIGKILL);
    }
    threads_->ended.wait(lock, [this] { return threads_->answering == 0; });
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
    if (settings.status() == QSettings::NoError) {
        return std::nullopt;
    }
    return SettingError{settings.fileName().toStdString(),
                        settings.status() == QSettings::FormatError ? "it is not a settings file"
                                                                    : "it cannot be written"};
}

void QtDesktop::WhenBusyKnown(std::function<void(BusyReasons)> then) {
    const auto giveUp = std::chrono::steady_clock::now() + kGiveUpAfter;
    if (helper_.empty()) {
        then(BusyReasons{});
        return;
    }
    std::vector<std::string> arguments = BusyCheckArguments(helper_);
    const std::shared_ptr<Threads> threads = threads_;
    {
        const std::scoped_lock lock(threads->mutex);
        ++threads->answering;
    }
    // brindle-busy is started and waited for on a thread of its own, so that the flash never
    // waits for it.
    auto check = [threads, giveUp](std::vector<std::string> arguments,
                                   std::function<void(BusyReasons)> then) {
        pid_t helper = 0;
        {
            const std::scoped_lock lock(threads->mutex);
            if (!threads->closing) {
                helper = StartHelper(arguments);
            }
            if (helper != 0) {
                threads->helpers.push_back(helper);
            }
        }
        int status = 0;
        if (helper != 0) {
            if (!EndsBy(helper, giveUp)) {
                ::kill(helper, SIGKILL);
            }
            const std::scoped_lock lock(threads->mutex);
            std::erase(threads->helpers, helper);
            while (::waitpid(helper, &status, 0) < 0 && errno == EINTR) {
            }
        }
        bool closing = false;
        {
            const std::scoped_lock lock(threads->mutex);
            closing = threads->closing;
        }
        if (!closing) {
            then(ReasonsFrom(status));
        }
        then = nullptr;
        {
            const std::scoped_lock lock(threads->mutex);
            --threads->answering;
        }
        threads->ended.notify_all();
    };
    try {
        std::thread(check, std::move(arguments), then).detach();
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
