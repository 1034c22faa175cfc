#pragma once

#include <sys/types.h>

#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace brindle {

// Plays a sound file without waiting for it, and may be asked from any thread. Each sound is
// played by a program of its own, brindle-sound (qt_sound_player.cpp), which reads the file and
// feeds it to the desktop's sound server, so that nothing this program's user-interface thread
// does (the warning's pauses sleep it) can starve it, and the sound server's client library and
// decoders never stay in this program's memory. A thread here waits for that program and lives
// only as long as it: between warnings nothing of the sound is awake. A new request ends a sound
// still playing and plays the new one; a name that finds no playable file, a file that cannot be
// decoded, a missing sound player and a missing sound server are silence.
class QtSound {
public:
    // Takes the executable's directory from the application object, which must exist.
    QtSound();
    // Ends a sound still playing and waits for its thread.
    ~QtSound();
    QtSound(const QtSound&) = delete;
    QtSound& operator=(const QtSound&) = delete;

    // Returns whether a file and the player were found.
    bool Play(const std::string& name);
    void Stop();

    // The file a name stands for: the working directory first, then the executable's directory,
    // then the installed data directory (found from the executable, then as built). Empty when
    // none of them holds a readable file.
    std::string Locate(const std::string& name) const;

private:
    // Makes `path` the next sound, or none, and ends the one playing; mutex_ is held.
    void ReplaceLocked(std::optional<std::string> path);
    // What the sound's thread runs: the latest request, then any that came while it played.
    void Run();

    const std::string programDir_;
    // The sound player beside the executable (a build), in the helper directory found from the
    // executable, or where this build installs it; empty when there is none.
    const std::string player_;

    std::mutex mutex_;
    // Guarded by mutex_: the file asked for and not yet begun, the player playing (0 when none),
    // and whether the sound's thread is running.
    std::optional<std::string> next_;
    pid_t playing_ = 0;
    bool running_ = false;
    std::thread thread_;
};

}  // namespace brindle
