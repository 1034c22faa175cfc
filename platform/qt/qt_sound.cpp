#include "qt/qt_sound.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include "qt/qt_sound_player.h"

namespace brindle {

namespace {

bool IsPlayableFile(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && info.isReadable();
}

// Qt Multimedia, and the audio, network and codec libraries it brings, live in a module of their
// own that is loaded at the first sound: linked into the program they would cost every run
// memory and start-up time for a sound that plays at most once a period. The module is looked
// for beside the executable (a build), then in the library directory found from the executable,
// then where this build installs it. It stays loaded once found.
CreateSoundPlayerFunction SoundPlayerModule() {
    static const CreateSoundPlayerFunction create = [] {
        const QString bin = QCoreApplication::applicationDirPath();
        const QString file = QStringLiteral(BRINDLE_SOUND_MODULE);
        const QString candidates[] = {
            QDir(bin).absoluteFilePath(file),
            QDir(bin + QStringLiteral("/" BRINDLE_SOUND_MODULE_DIR_FROM_BIN))
                .absoluteFilePath(file),
            QDir(QStringLiteral(BRINDLE_SOUND_MODULE_DIR)).absoluteFilePath(file),
        };
        for (const QString& candidate : candidates) {
            if (!QFileInfo(candidate).isFile()) {
                continue;
            }
            QLibrary module(candidate);
            if (auto found = reinterpret_cast<CreateSoundPlayerFunction>(
                    module.resolve(kCreateSoundPlayerSymbol))) {
                return found;
            }
        }
        return CreateSoundPlayerFunction{nullptr};
    }();
    return create;
}

}  // namespace

QtSound::QtSound() = default;

// The player's thread is stopped here, while the application object still exists.
QtSound::~QtSound() = default;

QString QtSound::Locate(const std::string& name) {
    const QString file = QString::fromStdString(name);
    if (file.isEmpty()) {
        return {};
    }
    if (QFileInfo(file).isAbsolute()) {
        return IsPlayableFile(file) ? file : QString();
    }
    const QString candidates[] = {
        QDir::current().absoluteFilePath(file),
        QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(file),
        QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/" BRINDLE_DATA_DIR_FROM_BIN))
            .absoluteFilePath(file),
        QDir(QStringLiteral(BRINDLE_DATA_DIR)).absoluteFilePath(file),
    };
    for (const QString& candidate : candidates) {
        if (IsPlayableFile(candidate)) {
            return candidate;
        }
    }
    return {};
}

bool QtSound::Play(const std::string& name) {
    Stop();
    const QString path = Locate(name);
    if (path.isEmpty()) {
        return false;
    }
    if (!player_) {
        const CreateSoundPlayerFunction create = SoundPlayerModule();
        if (create == nullptr) {
            return false;
        }
        player_.reset(create());
    }
    player_->Play(path);
    return true;
}

void QtSound::Stop() {
    if (player_) {
        player_->Stop();
    }
}

}  // namespace brindle
