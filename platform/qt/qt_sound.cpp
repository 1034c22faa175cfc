#include "qt/qt_sound.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace brindle {

namespace {

bool IsPlayableFile(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && info.isReadable();
}

}  // namespace

QtSound::~QtSound() {
    delete current_.data();
}

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
    // A fresh effect per request: one that failed after an audio device change stays failed.
    // A file that cannot be decoded leaves it in its error state, which is silence.
    current_ = new QSoundEffect;
    current_->setSource(QUrl::fromLocalFile(path));
    current_->play();
    return true;
}

void QtSound::Stop() {
    if (current_) {
        current_->stop();
        current_->deleteLater();
        current_ = nullptr;
    }
}

}  // namespace brindle
