#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace brindle {

// The small programs that do the backend's work in processes of their own (brindle-sound plays
// a chime, brindle-busy asks whether the person is busy), so that what they load never stays in
// this program's memory.

// Whether path is a regular file the process may open for access (R_OK, X_OK).
bool IsFile(const std::string& path, int access);

// The executable's directory, from the application object, which must exist.
std::string ProgramDir();

// The helper program called name beside the executable (a build), in the helper directory found
// from the executable, or where this build installs it; empty when there is none.
std::string FindHelper(const std::string& programDir, const char* name);

// Starts a helper with arguments, the first being its path; returns its process id, or 0 when it
// could not be started. It gets none of this program's descriptors but the standard three, and
// ends on SIGTERM whatever the calling thread blocks or this program ignores.
pid_t StartHelper(const std::vector<std::string>& arguments);

}  // namespace brindle
