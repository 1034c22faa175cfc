#include "qt/qt_sound.h"

#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <system_error>
#include <utility>

namespace brindle {

namespace {

// The paths are put together as strings and checked with the system's calls: std::filesystem
// would bring in code of the C++ library that nothing else in the program touches, more memory
// from the start than this lookup is worth.
bool IsFile(const std::string& path, int access) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           ::access(path.c_str(), access) == 0;
}

std::string ProgramDir() {
    return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
}

std::string FindPlayer(const std::string& programDir) {
    const std::string candidates[] = {
        programDir + "/" BRINDLE_SOUND_PLAYER,
        programDir + "/" BRINDLE_HELPER_DIR_FROM_BIN "/" BRINDLE_SOUND_PLAYER,
        BRINDLE_HELPER_DIR "/" BRINDLE_SOUND_PLAYER,
    };
    for (const std::string& candidate : candidates) {
        if (IsFile(candidate, X_OK)) {
            return candidate;
        }
    }
    return {};
}

// Starts the player on a file; returns its process id, or 0 when it could not be started. It
// gets none of this program's descriptors but the standard three, and ends on SIGTERM whatever
// the calling thread blocks or this program ignores.
pid_t StartPlayer(const std::string& player, const std::string& file) {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    if (posix_spawn_file_actions_init(&actions) != 0) {
        return 0;
    }
    if (posix_spawnattr_init(&attributes) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return 0;
    }
    sigset_t none;
    sigset_t ending;
    sigemptyset(&none);
    sigemptyset(&ending);
    sigaddset(&ending, SIGTERM);
    std::array<char*, 3> arguments{const_cast<char*>(player.c_str()),
                                   const_cast<char*>(file.c_str()), nullptr};
    pid_t pid = 0;
    const bool started =
        posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1) == 0 &&
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) ==
            0 &&
        posix_spawnattr_setsigmask(&attributes, &none) == 0 &&
        posix_spawnattr_setsigdefault(&attributes, &ending) == 0 &&
        posix_spawn(&pid, player.c_str(), &actions, &attributes, arguments.data(), environ) == 0;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return started ? pid : 0;
}

}  // namespace

QtSound::QtSound() : programDir_(ProgramDir()), player_(FindPlayer(programDir_)) {}

QtSound::~QtSound() {
    Stop();
    if (thread_.joinable()) {
        thread_.join();
    }
}

std::string QtSound::Locate(const std::string& name) const {
    if (name.empty()) {
        return {};
    }
    if (name.front() == '/') {
        return IsFile(name, R_OK) ? name : std::string();
    }
    // Without a working directory to name, the name is left to be found from it all the same.
    const std::unique_ptr<char, decltype(&std::free)> workingDir(::getcwd(nullptr, 0), &std::free);
    const std::string candidates[] = {
        workingDir ? std::string(workingDir.get()) + "/" + name : name,
        programDir_ + "/" + name,
        programDir_ + "/" BRINDLE_DATA_DIR_FROM_BIN "/" + name,
        BRINDLE_DATA_DIR "/" + name,
    };
    for (const std::string& candidate : candidates) {
        if (IsFile(candidate, R_OK)) {
            return candidate;
        }
    }
    return {};
}

bool QtSound::Play(const std::string& name) {
    std::string path = Locate(name);
    if (path.empty() || player_.empty()) {
        Stop();
        return false;
    }
    const std::lock_guard lock(mutex_);
    ReplaceLocked(std::move(path));
    if (running_) {
        return true;
    }
    // A thread that has cleared running_ has nothing left to do but return.
    if (thread_.joinable()) {
        thread_.join();
    }
    try {
        thread_ = std::thread(&QtSound::Run, this);
    } catch (const std::system_error&) {
        next_.reset();
        return false;
    }
    running_ = true;
    return true;
}

void QtSound::Stop() {
    const std::lock_guard lock(mutex_);
    ReplaceLocked(std::nullopt);
}

void QtSound::ReplaceLocked(std::optional<std::string> path) {
    next_ = std::move(path);
    if (playing_ != 0) {
        ::kill(playing_, SIGTERM);
    }
}

void QtSound::Run() {
    pthread_setname_np(pthread_self(), "brindle-sound");
    std::unique_lock lock(mutex_);
    while (next_) {
        const std::string file = std::move(*next_);
        next_.reset();
        const pid_t player = StartPlayer(player_, file);
        if (player == 0) {
            continue;
        }
        playing_ = player;
        lock.unlock();
        // The player is waited for without being reaped, so that its process id cannot pass to
        // another process while a request may still end it.
        siginfo_t ended;
        while (::waitid(P_PID, static_cast<id_t>(player), &ended, WEXITED | WNOWAIT) < 0 &&
               errno == EINTR) {
        }
        lock.lock();
        playing_ = 0;
        while (::waitpid(player, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    running_ = false;
}

}  // namespace brindle
