#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "busy.h"

namespace brindle::busy {

namespace {

constexpr char kVideoDevice[] = "/dev/video";
constexpr std::size_t kVideoDeviceLength = sizeof kVideoDevice - 1;

bool IsProcessId(const char* name) {
    if (*name == '\0') {
        return false;
    }
    for (; *name != '\0'; ++name) {
        if (*name < '0' || *name > '9') {
            return false;
        }
    }
    return true;
}

// Whether one of the process's open files is a video device. A process that ends during the scan,
// or whose files may not be read (another user's), holds none as far as the scan can tell. Only
// the start of each link is read: that is all the comparison needs.
bool HoldsVideoDevice(int proc, const char* process) {
    const int fdDirectory =
        openat(proc, (std::string(process) + "/fd").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fdDirectory < 0) {
        return false;
    }
    DIR* fds = fdopendir(fdDirectory);
    if (fds == nullptr) {
        close(fdDirectory);
        return false;
    }
    bool holds = false;
    while (const dirent* fd = readdir(fds)) {
        char target[kVideoDeviceLength];
        if (fd->d_name[0] != '.' &&
            readlinkat(fdDirectory, fd->d_name, target, sizeof target) ==
                static_cast<ssize_t>(sizeof target) &&
            std::memcmp(target, kVideoDevice, sizeof target) == 0) {
            holds = true;
            break;
        }
    }
    closedir(fds);
    return holds;
}

}  // namespace

bool AnyVideoDevice(const std::filesystem::path& devRoot) {
    DIR* dev = opendir(devRoot.c_str());
    if (dev == nullptr) {
        return false;
    }
    bool found = false;
    while (const dirent* entry = readdir(dev)) {
        if (std::strncmp(entry->d_name, "video", 5) == 0) {
            found = true;
            break;
        }
    }
    closedir(dev);
    return found;
}

bool Camera(const std::filesystem::path& procRoot, int ownPid, Deadline deadline) {
    DIR* proc = opendir(procRoot.c_str());
    if (proc == nullptr) {
        return false;
    }
    const std::string own = std::to_string(ownPid);
    bool found = false;
    while (const dirent* entry = readdir(proc)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            break;
        }
        if (IsProcessId(entry->d_name) && own != entry->d_name &&
            HoldsVideoDevice(dirfd(proc), entry->d_name)) {
            found = true;
            break;
        }
    }
    closedir(proc);
    return found;
}

}  // namespace brindle::busy
