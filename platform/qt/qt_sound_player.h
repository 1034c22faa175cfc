#pragma once

#include <QString>

namespace brindle {

// The sound player module's one object, made at the first sound. Play returns at once; the sound
// is fed from a thread of the player's own, so that nothing the user-interface thread does (the
// warning's pauses sleep it) can starve it. A new request replaces a sound still playing; a file
// that cannot be decoded is silence.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void Play(const QString& path) = 0;
    virtual void Stop() = 0;
};

using CreateSoundPlayerFunction = SoundPlayer* (*)();
inline constexpr char kCreateSoundPlayerSymbol[] = "BrindleCreateSoundPlayer";

}  // namespace brindle

// The entry point of the module, which the backend loads at the first sound. The caller owns the
// player and deletes it before the application object goes.
extern "C" Q_DECL_EXPORT brindle::SoundPlayer* BrindleCreateSoundPlayer();
