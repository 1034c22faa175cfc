// brindle-busy --pid PID [--window ID]...: asks whether the person is busy, for the program whose
// process is PID, and answers in its exit status (kAnswered and a bit for each reason, busy.h).
// The program starts it at each warning with Quiet When Busy on, so that the sound server's
// client library, GIO with its settings and D-Bus, and the threads they leave behind live only
// for one check, never in the program. The full-screen check runs only when the program's own
// X windows are given, as it has none on another platform, and skips them.

#include <xcb/xcb.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "busy.h"
#include "desktop.h"

namespace {

using brindle::BusyReason;
namespace busy = brindle::busy;

// What the sources are given to answer by themselves; the program gives up on the whole check at
// 200 ms from its start, which includes this program's own start.
constexpr std::chrono::milliseconds kSourceDeadline{150};

struct Arguments {
    int pid = 0;
    std::vector<std::uint32_t> windows;
};

// Numbers as the program writes them; anything else is refused with nothing.
std::optional<unsigned long> Number(const char* text) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (*text == '\0' || *end != '\0') {
        return std::nullopt;
    }
    return value;
}

std::optional<Arguments> Parse(int argc, char** argv) {
    Arguments arguments;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::optional<unsigned long> value = Number(argv[i + 1]);
        if (!value) {
            return std::nullopt;
        }
        if (std::strcmp(argv[i], "--pid") == 0) {
            arguments.pid = static_cast<int>(*value);
        } else if (std::strcmp(argv[i], "--window") == 0) {
            arguments.windows.push_back(static_cast<std::uint32_t>(*value));
        } else {
            return std::nullopt;
        }
    }
    if (argc % 2 == 0 || arguments.pid == 0) {
        return std::nullopt;
    }
    return arguments;
}

// The sources' answers as they come.
struct Check {
    std::mutex mutex;
    std::condition_variable answered;
    int status = busy::kAnswered;
    int pending = 0;
};

bool FullScreen(const std::vector<std::uint32_t>& ownWindows) {
    if (ownWindows.empty()) {
        return false;
    }
    int screen = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screen);
    bool full = false;
    if (xcb_connection_has_error(connection) == 0) {
        xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
        for (; screens.rem > 0 && screen > 0; --screen) {
            xcb_screen_next(&screens);
        }
        if (screens.rem > 0) {
            full = busy::OtherWindowFullScreen({connection, screens.data->root, ownWindows});
        }
    }
    xcb_disconnect(connection);
    return full;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Arguments> arguments = Parse(argc, argv);
    if (!arguments) {
        return 2;
    }
    const auto deadline = std::chrono::steady_clock::now() + kSourceDeadline;
    const int program = arguments->pid;
    const std::vector<std::uint32_t> windows = arguments->windows;
    const std::pair<BusyReason, std::function<bool()>> sources[] = {
        {BusyReason::Microphone, [deadline] { return busy::Microphone(deadline); }},
        {BusyReason::Camera,
         // Without a camera there is nothing to look for in every process's open files. The
         // program asked for is not another program; this one opens no camera.
         [deadline, program] {
             return busy::AnyVideoDevice("/dev") && busy::Camera("/proc", program, deadline);
         }},
        {BusyReason::DoNotDisturb, [] { return busy::BannersOff(); }},
        {BusyReason::DoNotDisturb, [deadline] { return busy::NotificationsInhibited(deadline); }},
        {BusyReason::FullScreen, [&windows] { return FullScreen(windows); }},
        {BusyReason::SessionLocked, [deadline] { return busy::SessionLocked(deadline); }},
    };

    // Each source runs on a thread of its own, so that one that hangs holds up none of the others;
    // those still running at the deadline end with the process.
    Check check;
    for (const auto& [reason, source] : sources) {
        const std::scoped_lock lock(check.mutex);
        try {
            std::thread([&check, reason = reason, &source = source] {
                const bool found = source();
                const std::scoped_lock lock(check.mutex);
                if (found) {
                    check.status |= 1 << static_cast<int>(reason);
                }
                --check.pending;
                check.answered.notify_all();
            }).detach();
            ++check.pending;
        } catch (const std::system_error&) {
            // A source that cannot be asked counts as free.
        }
    }
    std::unique_lock lock(check.mutex);
    check.answered.wait_until(lock, deadline, [&check] { return check.pending == 0; });
    // Threads still running hold locks and objects this program need not free: it ends at once.
    std::_Exit(check.status);
}
