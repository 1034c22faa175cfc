#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <vector>

struct xcb_connection_t;

// The sources of the Linux busy check, which the program brindle-busy (main.cpp) asks for the
// program at each warning. Each answers whether the person is busy by its one sign, from whatever
// thread calls it, and gives up by the deadline; a source that cannot answer (no sound server, no
// bus, no such setting) says not busy.
namespace brindle::busy {

// brindle-busy's exit status when it has asked its sources: this bit, and 1 << BusyReason for each
// reason found, within kReasonBits. Any other status (the program could not start, or died)
// tells nothing.
constexpr int kAnswered = 64;
constexpr int kReasonBits = 0x1f;

using Deadline = std::chrono::steady_clock::time_point;

// Another program records from a microphone: a stream that records from a source that is not the
// monitor of an output, as the sound server (PulseAudio, or PipeWire in its place) lists them.
bool Microphone(Deadline deadline);

// Whether the system has any video device (a /dev/video* under devRoot) for a program to open.
bool AnyVideoDevice(const std::filesystem::path& devRoot);

// A process other than ownPid holds a video device open, as the fd links under procRoot (/proc
// on a real system) show.
bool Camera(const std::filesystem::path& procRoot, int ownPid, Deadline deadline);

// GNOME's do-not-disturb: its notification banners are turned off.
bool BannersOff();

// The notification server says it holds notifications back.
bool NotificationsInhibited(Deadline deadline);

// The session is locked, as logind or the screen saver says.
bool SessionLocked(Deadline deadline);

// The active window of the X display is full screen and is not one of the program's own windows,
// ownWindows. connection is an open X connection, safe to use from any thread.
struct X11Display {
    xcb_connection_t* connection = nullptr;
    std::uint32_t root = 0;
    std::vector<std::uint32_t> ownWindows;
};
bool OtherWindowFullScreen(const X11Display& display);

}  // namespace brindle::busy
