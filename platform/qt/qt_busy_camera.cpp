#include <algorithm>
#include <string>
#include <system_error>

#include "qt/qt_busy.h"

namespace brindle::busy {

namespace {

bool IsProcessId(const std::string& name) {
    return !name.empty() &&
           std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Whether one of the process's open files is a video device. A process that ends during the scan,
// or whose files may not be read, holds none as far as the scan can tell.
bool HoldsVideoDevice(const std::filesystem::path& process) {
    std::error_code error;
    for (std::filesystem::directory_iterator fd(process / "fd", error), end; !error && fd != end;
         fd.increment(error)) {
        std::error_code unreadable;
        const std::string target = std::filesystem::read_symlink(fd->path(), unreadable).string();
        if (!unreadable && target.rfind("/dev/video", 0) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool Camera(const std::filesystem::path& procRoot, int ownPid, Deadline deadline) {
    const std::string own = std::to_string(ownPid);
    std::error_code error;
    for (std::filesystem::directory_iterator entry(procRoot, error), end; !error && entry != end;
         entry.increment(error)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        const std::string name = entry->path().filename().string();
        if (IsProcessId(name) && name != own && HoldsVideoDevice(entry->path())) {
            return true;
        }
    }
    return false;
}

}  // namespace brindle::busy
