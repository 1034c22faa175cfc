#pragma once

#include <QObject>
#include <QString>

// The one entry point of the sound player module, which the backend loads at the first sound:
// starts playing the WAV file at path and returns the playing object, whose stop() slot ends it.
// The caller owns the object.
extern "C" Q_DECL_EXPORT QObject* BrindleStartSound(const QString& path);

namespace brindle {

using StartSoundFunction = QObject* (*)(const QString& path);
inline constexpr char kStartSoundSymbol[] = "BrindleStartSound";

}  // namespace brindle
