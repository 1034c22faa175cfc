// xwatch: watches windows of other X clients from outside, with XDamage, for the benchmarks.
//
//   xwatch changes --window ID --seconds N
//       Prints one line per visible change of the window, for N seconds:
//       "change <CLOCK_REALTIME seconds> <milliseconds after the last whole wall-clock second>".
//   xwatch start --name TITLE [--timeout SECONDS] -- COMMAND [ARGS...]
//       Runs COMMAND and prints "pid=<pid>" at once, then, when a window titled TITLE appears,
//       "map_ms=<exec to MapNotify> frame_ms=<exec to first drawn frame> window=<id>".
//       COMMAND goes on running; whoever started xwatch ends it.
//   xwatch frames --name TITLE [--timeout SECONDS] [--seconds N] -- COMMAND [ARGS...]
//       As start, but once the window is mapped reads its pixels back without pause for N seconds
//       (0.3 unless given) and prints one line per distinct picture seen:
//       "frame <ms after MapNotify> <uniform|mixed> <pixel at the top left> <pixel at the centre>".
//       It shows what a person sees between the window's mapping and its first paint.
//
// A damage report only says that something drew into the window, and drawing the same pixels
// again is reported too. A change therefore counts only when the window's pixels differ from the
// last ones seen, read back with XGetImage as each report arrives.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

// Drawing one new frame can take more than one request; damage that follows a change this
// closely belongs to the same frame.
constexpr double kSameFrameSeconds = 0.1;

double Now(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "xwatch: %s\n", message.c_str());
    std::exit(2);
}

int g_xerrors = 0;

// Windows of other clients can vanish at any moment; a request about one that is gone must not
// end the watch.
int IgnoreXError(Display*, XErrorEvent*) {
    ++g_xerrors;
    return 0;
}

struct DamageExtension {
    int eventBase = 0;
    int errorBase = 0;
};

DamageExtension OpenDamage(Display* display) {
    DamageExtension damage;
    if (!XDamageQueryExtension(display, &damage.eventBase, &damage.errorBase)) {
        Fail("the X server has no DAMAGE extension");
    }
    int major = 0;
    int minor = 0;
    XDamageQueryVersion(display, &major, &minor);
    return damage;
}

// The window's pixels as one hash, or nothing when they cannot be read (unmapped, gone). Also
// tells whether the pixels are all of one colour, as a window is before anything draws into it.
struct Pixels {
    std::uint64_t hash = 0;
    bool uniform = true;
    unsigned long topLeft = 0;
    unsigned long centre = 0;
};

std::optional<Pixels> ReadPixels(Display* display, Window window) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) {
        return std::nullopt;
    }
    XImage* image =
        XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return std::nullopt;
    }
    Pixels pixels;
    std::uint64_t hash = 1469598103934665603ULL;
    const unsigned long first = XGetPixel(image, 0, 0);
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            if (pixel != first) {
                pixels.uniform = false;
            }
            hash = (hash ^ pixel) * 1099511628211ULL;
        }
    }
    pixels.hash = hash;
    pixels.topLeft = first;
    pixels.centre = XGetPixel(image, image->width / 2, image->height / 2);
    XDestroyImage(image);
    return pixels;
}

// Waits until the X connection has something to read or the deadline (CLOCK_MONOTONIC) passes.
bool WaitForEvents(Display* display, double deadline) {
    while (XPending(display) == 0) {
        const double left = deadline - Now(CLOCK_MONOTONIC);
        if (left <= 0) {
            return false;
        }
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left * 1000) + 1);
    }
    return true;
}

int WatchChanges(Window window, double seconds) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        Fail("cannot open the display");
    }
    XSetErrorHandler(IgnoreXError);
    const DamageExtension damage = OpenDamage(display);
    const Damage handle = XDamageCreate(display, window, XDamageReportNonEmpty);
    XSync(display, False);
    std::optional<Pixels> last = ReadPixels(display, window);
    if (!last) {
        Fail("the window is not viewable");
    }
    double lastChange = 0;
    const double deadline = Now(CLOCK_MONOTONIC) + seconds;
    while (WaitForEvents(display, deadline)) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != damage.eventBase + XDamageNotify) {
            continue;
        }
        const double realtime = Now(CLOCK_REALTIME);
        XDamageSubtract(display, handle, None, None);
        const std::optional<Pixels> pixels = ReadPixels(display, window);
        if (!pixels || pixels->hash == last->hash) {
            continue;
        }
        last = pixels;
        if (realtime - lastChange < kSameFrameSeconds) {
            continue;
        }
        lastChange = realtime;
        const double offset = (realtime - static_cast<double>(static_cast<long long>(realtime)));
        std::printf("change %.6f %.3f\n", realtime, offset * 1000.0);
        std::fflush(stdout);
    }
    XDamageDestroy(display, handle);
    XCloseDisplay(display);
    return 0;
}

std::string WindowTitle(Display* display, Window window) {
    static const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    static const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &data) == Success &&
        data != nullptr) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
        if (!title.empty()) {
            return title;
        }
    }
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name != nullptr) {
        title = name;
        XFree(name);
    }
    return title;
}

// What WatchStart reports once the window is mapped: its first drawn frame, or every picture
// over a span read back without pause.
enum class StartReport { FirstFrame, Frames };

// Reads the window's pixels over and over for the given seconds from its mapping (mapTime, on
// CLOCK_MONOTONIC) and prints each picture that differs from the one before.
void PrintFrames(Display* display, Window window, double mapTime, double seconds) {
    std::optional<std::uint64_t> last;
    while (Now(CLOCK_MONOTONIC) < mapTime + seconds) {
        const std::optional<Pixels> pixels = ReadPixels(display, window);
        const double at = Now(CLOCK_MONOTONIC);
        if (!pixels || (last && *last == pixels->hash)) {
            continue;
        }
        last = pixels->hash;
        std::printf("frame %.3f %s %06lx %06lx\n", (at - mapTime) * 1000,
                    pixels->uniform ? "uniform" : "mixed", pixels->topLeft, pixels->centre);
    }
    std::fflush(stdout);
}

int WatchStart(const std::string& title, double timeout, char** command, StartReport report,
               double seconds) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        Fail("cannot open the display");
    }
    XSetErrorHandler(IgnoreXError);
    const DamageExtension damage = OpenDamage(display);
    const Window root = DefaultRootWindow(display);
    // Top-level windows are created as children of the root; a window manager reparents them
    // later, so each is watched on its own from its creation on.
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double start = Now(CLOCK_MONOTONIC);
    const pid_t pid = fork();
    if (pid < 0) {
        Fail("fork failed");
    }
    if (pid == 0) {
        close(ConnectionNumber(display));
        // Whoever reads xwatch's output reads only xwatch's lines; the program's go to stderr.
        dup2(STDERR_FILENO, STDOUT_FILENO);
        execvp(command[0], command);
        std::perror("xwatch: exec");
        _exit(127);
    }
    std::printf("pid=%d\n", static_cast<int>(pid));
    std::fflush(stdout);

    // Every top-level window created since the start, with the damage object that watches it.
    std::map<Window, Damage> candidates;
    std::optional<double> mapTime;
    Window target = None;
    const auto watch = [&](Window window) {
        if (candidates.count(window) != 0) {
            return;
        }
        XSelectInput(display, window, StructureNotifyMask | PropertyChangeMask);
        candidates[window] = XDamageCreate(display, window, XDamageReportNonEmpty);
    };
    const auto checkMapped = [&](Window window, double when) {
        if (mapTime || WindowTitle(display, window) != title) {
            return;
        }
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, window, &attributes) &&
            attributes.map_state != IsUnmapped) {
            mapTime = when;
            target = window;
        }
    };

    const double deadline = start + timeout;
    while (WaitForEvents(display, deadline)) {
        XEvent event;
        XNextEvent(display, &event);
        const double now = Now(CLOCK_MONOTONIC);
        if (event.type == CreateNotify && event.xcreatewindow.parent == root) {
            watch(event.xcreatewindow.window);
            // The window may have been mapped before it was watched.
            checkMapped(event.xcreatewindow.window, now);
        } else if (event.type == MapNotify) {
            checkMapped(event.xmap.window, now);
        } else if (event.type == PropertyNotify) {
            checkMapped(event.xproperty.window, now);
        }
        if (mapTime && report == StartReport::Frames) {
            std::printf("map_ms=%.3f window=%lu\n", (*mapTime - start) * 1000,
                        static_cast<unsigned long>(target));
            PrintFrames(display, target, *mapTime, seconds);
            XCloseDisplay(display);
            return 0;
        }
        if (event.type == damage.eventBase + XDamageNotify) {
            const auto& notify = reinterpret_cast<const XDamageNotifyEvent&>(event);
            XDamageSubtract(display, notify.damage, None, None);
            if (!mapTime || notify.drawable != target) {
                continue;
            }
            const std::optional<Pixels> pixels = ReadPixels(display, target);
            if (pixels && !pixels->uniform) {
                std::printf("map_ms=%.3f frame_ms=%.3f window=%lu\n", (*mapTime - start) * 1000,
                            (now - start) * 1000, static_cast<unsigned long>(target));
                std::fflush(stdout);
                XCloseDisplay(display);
                return 0;
            }
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            Fail("the program ended before its window was drawn");
        }
    }
    Fail("no frame of a window titled \"" + title + "\" within the time allowed");
}

void Usage() {
    std::fprintf(stderr,
                 "usage: xwatch changes --window ID --seconds N\n"
                 "       xwatch start --name TITLE [--timeout SECONDS] -- COMMAND [ARGS...]\n"
                 "       xwatch frames --name TITLE [--timeout SECONDS] [--seconds N] -- COMMAND "
                 "[ARGS...]\n");
    std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        Usage();
    }
    // The started program must not be stopped along with xwatch by a closed pipe.
    signal(SIGPIPE, SIG_IGN);
    const std::string mode = argv[1];
    Window window = None;
    std::optional<double> seconds;
    double timeout = 30;
    std::string title;
    int i = 2;
    for (; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--") {
            ++i;
            break;
        }
        if (i + 1 >= argc) {
            Usage();
        }
        const char* value = argv[++i];
        if (option == "--window") {
            window = static_cast<Window>(std::strtoul(value, nullptr, 0));
        } else if (option == "--seconds") {
            seconds = std::atof(value);
        } else if (option == "--timeout") {
            timeout = std::atof(value);
        } else if (option == "--name") {
            title = value;
        } else {
            Usage();
        }
    }
    if (mode == "changes" && window != None) {
        return WatchChanges(window, seconds.value_or(60));
    }
    if (mode == "start" && !title.empty() && i < argc) {
        return WatchStart(title, timeout, argv + i, StartReport::FirstFrame, 0);
    }
    if (mode == "frames" && !title.empty() && i < argc) {
        return WatchStart(title, timeout, argv + i, StartReport::Frames, seconds.value_or(0.3));
    }
    Usage();
}
