#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "qt/busy/busy.h"

namespace brindle::busy {
namespace {

namespace fs = std::filesystem;

// Whether a made-up process still shows its file descriptors; one that ended during the scan
// has none to list.
enum class Fds { Listed, Gone };

// One made-up process: its id as /proc names it and where its file descriptors point.
struct Process {
    std::string id;
    std::vector<std::string> openFiles;
    Fds fds = Fds::Listed;
};

struct CameraCase {
    const char* what;
    std::vector<Process> processes;
    bool busy;
};

// Our own process in the made-up trees.
constexpr int kOwnPid = 4000;

TEST(BusyCamera, AVideoDeviceOpenInAnotherProcessIsACameraInUse) {
    const CameraCase cases[] = {
        {"no process", {}, false},
        {"a player with sound and files only",
         {{"12", {"/dev/null", "/dev/snd/pcmC0D0c", "/home/a/film.mkv", "socket:[991]"}}},
         false},
        {"a video call", {{"12", {"/dev/null"}}, {"345", {"/dev/null", "/dev/video0"}}}, true},
        {"our own process holding a camera", {{"4000", {"/dev/video0"}}}, false},
        {"a media controller but no video stream", {{"345", {"/dev/media0"}}}, false},
        {"a name that is not a process",
         {{"self", {"/dev/video0"}}, {"net", {"/dev/video0"}}},
         false},
        {"a process that ended during the scan, then a camera",
         {{"77", {}, Fds::Gone}, {"78", {"/dev/video1"}}},
         true},
    };
    for (const CameraCase& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path proc =
            fs::temp_directory_path() /
            ("brindle-proc-" + std::to_string(getpid()) + "-" + std::to_string(&c - cases));
        fs::create_directories(proc);
        for (const Process& process : c.processes) {
            fs::create_directories(proc / process.id);
            if (process.fds == Fds::Gone) {
                continue;
            }
            fs::create_directories(proc / process.id / "fd");
            for (std::size_t fd = 0; fd < process.openFiles.size(); ++fd) {
                fs::create_symlink(process.openFiles[fd],
                                   proc / process.id / "fd" / std::to_string(fd));
            }
        }
        EXPECT_EQ(Camera(proc, kOwnPid, std::chrono::steady_clock::now() + std::chrono::hours(1)),
                  c.busy);
        fs::remove_all(proc);
    }
}

TEST(BusyCamera, OnlyAVideoDeviceMakesTheProcessesWorthScanning) {
    const fs::path dev = fs::temp_directory_path() / ("brindle-dev-" + std::to_string(getpid()));
    fs::create_directories(dev / "snd");
    std::ofstream(dev / "media0").put('\n');
    EXPECT_FALSE(AnyVideoDevice(dev));
    std::ofstream(dev / "video0").put('\n');
    EXPECT_TRUE(AnyVideoDevice(dev));
    fs::remove_all(dev);
    EXPECT_FALSE(AnyVideoDevice(dev));
}

}  // namespace
}  // namespace brindle::busy
