#pragma once

#include <QString>
#include <memory>
#include <string>

namespace brindle {

class SoundPlayer;

// Plays a WAV file without waiting for it. A new request replaces a sound still playing; a name
// that finds no playable file is silence, and so is a missing sound player module.
class QtSound {
public:
    QtSound();
    ~QtSound();
    QtSound(const QtSound&) = delete;
    QtSound& operator=(const QtSound&) = delete;

    // Returns whether a file was found to play.
    bool Play(const std::string& name);
    void Stop();

    // The file a name stands for: the working directory first, then the executable's directory,
    // then the installed data directory (found from the executable, then as built). Empty when
    // none of them holds a readable file.
    static QString Locate(const std::string& name);

private:
    // Made at the first sound that finds a file.
    std::unique_ptr<SoundPlayer> player_;
};

}  // namespace brindle
