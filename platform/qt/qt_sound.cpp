#include "qt/qt_sound.h"

#include <pthread.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <system_error>
#include <utility>

#include "qt/qt_helper.h"

namespace brindle {

QtSound::QtSound()
    : programDir_(ProgramDir()), player_(FindHelper(programDir_, BRINDLE_SOUND_PLAYER)) {}

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
        const pid_t player = StartHelper({player_, file});
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
