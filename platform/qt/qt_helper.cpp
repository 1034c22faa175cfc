#include "qt/qt_helper.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>

namespace brindle {

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

std::string FindHelper(const std::string& programDir, const char* name) {
    const std::string candidates[] = {
        programDir + "/" + name,
        programDir + "/" BRINDLE_HELPER_DIR_FROM_BIN "/" + name,
        BRINDLE_HELPER_DIR "/" + std::string(name),
    };
    for (const std::string& candidate : candidates) {
        if (IsFile(candidate, X_OK)) {
            return candidate;
        }
    }
    return {};
}

pid_t StartHelper(const std::vector<std::string>& arguments) {
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
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const bool started =
        posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1) == 0 &&
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) ==
            0 &&
        posix_spawnattr_setsigmask(&attributes, &none) == 0 &&
        posix_spawnattr_setsigdefault(&attributes, &ending) == 0 &&
        posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ) == 0;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return started ? pid : 0;
}

}  // namespace brindle
