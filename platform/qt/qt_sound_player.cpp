#include "qt/qt_sound_player.h"

#include <QSoundEffect>
#include <QUrl>

QObject* BrindleStartSound(const QString& path) {
    // A fresh effect per request: one that failed after an audio device change stays failed.
    // A file that cannot be decoded leaves it in its error state, which is silence.
    auto* effect = new QSoundEffect;
    effect->setSource(QUrl::fromLocalFile(path));
    effect->play();
    return effect;
}
