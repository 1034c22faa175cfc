#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

struct pa_mainloop;

namespace brindle {

// Plays a sound file through the desktop's sound server without waiting for it, and may be asked
// from any thread. The sound is read and fed from a thread of its own, so that nothing the
// user-interface thread does (the warning's pauses sleep it) can starve it. That thread and its
// connection to the sound server last only as long as a sound plays: between warnings nothing of
// the sound is awake. A new request replaces a sound still playing; a name that finds no playable
// file, a file that cannot be decoded and a missing sound server are silence.
class QtSound {
public:
    // Takes the executable's directory from the application object, which must exist.
    QtSound();
    // Cuts a sound still playing short and waits for its thread to end.
    ~QtSound();
    QtSound(const QtSound&) = delete;
    QtSound& operator=(const QtSound&) = delete;

    // Returns whether a file was found to play.
    bool Play(const std::string& name);
    void Stop();

    // The file a name stands for: the working directory first, then the executable's directory,
    // then the installed data directory (found from the executable, then as built). Empty when
    // none of them holds a readable file.
    std::filesystem::path Locate(const std::string& name) const;

private:
    // Makes `path` the next sound, or none, and ends the one playing; mutex_ is held.
    void ReplaceLocked(std::optional<std::filesystem::path> path);
    // What the sound's thread runs: the latest request, then any that came while it played.
    void Run();
    void PlayFile(const std::filesystem::path& path, std::uint64_t request);
    bool Replaced(std::uint64_t request);
    // Makes `loop` the one a replacing request wakes, or none.
    void SetLoop(pa_mainloop* loop);

    // Where a name without a directory is looked for after the working directory.
    const std::filesystem::path programDir_;
    const std::filesystem::path dataDirFromProgram_;

    std::mutex mutex_;
    // Guarded by mutex_: the file asked for and not yet begun; the number of the latest request,
    // where a sound of an older one stops; the event loop of the sound playing, woken when that
    // number changes; whether the sound's thread is running.
    std::optional<std::filesystem::path> next_;
    std::uint64_t request_ = 0;
    pa_mainloop* loop_ = nullptr;
    bool running_ = false;
    std::thread thread_;
};

}  // namespace brindle
