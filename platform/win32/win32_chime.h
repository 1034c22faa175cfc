#pragma once

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

// Windows' headers come after the program's own, as in the other backend headers.
#include <windows.h>

namespace brindle {

// Plays a WAV file whole. The samples are read in full and handed to the wave device as one
// buffer, so a busy machine that keeps any thread of the program waiting cannot break the sound
// up: the system's own file player hands them over a third of a second at a time and falls
// silent whenever a refill comes late. Asynchronous sounds play on a thread of the chime's own,
// started at the first one, which waits for each sound to end, so the caller never waits. The
// sound library is loaded at the first sound.
class Win32Chime {
public:
    Win32Chime() = default;
    // Ends a sound still playing and waits for the thread.
    ~Win32Chime();

    Win32Chime(const Win32Chime&) = delete;
    Win32Chime& operator=(const Win32Chime&) = delete;

    // Hands the file to the chime's thread, ending the sound it still plays, and returns at once.
    void PlayAsync(std::wstring path);

    // Plays the file on the calling thread and returns once it has ended; false when the file is
    // not a playable WAV file or the device refused it.
    bool PlayHere(const std::wstring& path);

private:
    void Run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<std::wstring> pending_;
    bool ending_ = false;
    // The device of the sound playing on the chime's thread, to be reset when it is to end.
    void* device_ = nullptr;
    std::thread thread_;
};

}  // namespace brindle
