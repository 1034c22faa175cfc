#include "qt/qt_sound_player.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QFile>
#include <QMediaDevices>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QtEndian>
#include <algorithm>
#include <chrono>
#include <optional>

namespace brindle {
namespace {

// Samples of a WAV file as the audio device takes them.
struct Wave {
    QAudioFormat format;
    QByteArray samples;
};

// Reads a RIFF WAVE file of 8-bit unsigned, 16-, 24- or 32-bit signed or 32-bit float samples;
// 24-bit samples are widened to 32 bits, which audio devices take. Anything else is no sound.
std::optional<Wave> ReadWave(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") {
        return std::nullopt;
    }
    const auto u16 = [&bytes](qsizetype at) {
        return qFromLittleEndian<quint16>(bytes.constData() + at);
    };
    const auto u32 = [&bytes](qsizetype at) {
        return qFromLittleEndian<quint32>(bytes.constData() + at);
    };
    std::optional<Wave> wave;
    Wave found;
    bool haveFormat = false;
    bool widen24 = false;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const qsizetype size = u32(at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt " && size >= 16 && body + size <= bytes.size()) {
            quint16 encoding = u16(body);
            // WAVE_FORMAT_EXTENSIBLE names the encoding in the first bytes of its sub-format.
            if (encoding == 0xFFFE && size >= 26) {
                encoding = u16(body + 24);
            }
            const int channels = u16(body + 2);
            const int rate = static_cast<int>(u32(body + 4));
            const int bits = u16(body + 14);
            QAudioFormat::SampleFormat sample = QAudioFormat::Unknown;
            if (encoding == 1 && bits == 8) {
                sample = QAudioFormat::UInt8;
            } else if (encoding == 1 && bits == 16) {
                sample = QAudioFormat::Int16;
            } else if (encoding == 1 && (bits == 24 || bits == 32)) {
                sample = QAudioFormat::Int32;
                widen24 = bits == 24;
            } else if (encoding == 3 && bits == 32) {
                sample = QAudioFormat::Float;
            }
            if (sample == QAudioFormat::Unknown || channels < 1 || rate < 1) {
                return std::nullopt;
            }
            found.format.setSampleFormat(sample);
            found.format.setChannelCount(channels);
            found.format.setSampleRate(rate);
            haveFormat = true;
        } else if (id == "data" && haveFormat) {
            // A data chunk cut short by the file's end plays what there is.
            found.samples = bytes.mid(body, std::min(size, bytes.size() - body));
            if (widen24) {
                QByteArray wide;
                wide.reserve(found.samples.size() / 3 * 4);
                for (qsizetype i = 0; i + 3 <= found.samples.size(); i += 3) {
                    wide.append('\0');
                    wide.append(found.samples.constData() + i, 3);
                }
                found.samples = wide;
            }
            const int frame = found.format.bytesPerFrame();
            found.samples.truncate(found.samples.size() - found.samples.size() % frame);
            if (!found.samples.isEmpty()) {
                wave = std::move(found);
            }
            break;
        }
        // Chunks are padded to an even size.
        at = body + size + (size & 1);
    }
    return wave;
}

// One sound on its way to the audio device, written from the thread it lives on. The device is
// asked to hold the whole sound, or as much as it will, so that once written a busy machine
// that keeps this thread waiting cannot break the sound up.
class Playing final : public QObject {
public:
    Playing(Wave wave, QObject* parent)
        : QObject(parent),
          sink_(new QAudioSink(QMediaDevices::defaultAudioOutput(), wave.format, this)),
          samples_(std::move(wave.samples)) {
        sink_->setBufferSize(static_cast<qsizetype>(std::min<qint64>(samples_.size(), kMostHeld)));
        device_ = sink_->start();
        if (device_ == nullptr || sink_->error() != QAudio::NoError) {
            deleteLater();
            return;
        }
        // Stopping the device as soon as the last sample is written would drop what it still
        // holds, the end of the sound: the stream stays open until the whole sound has had time
        // to play, and a little longer.
        const qint64 durationMs = wave.format.durationForBytes(samples_.size()) / 1000;
        QTimer::singleShot(std::chrono::milliseconds(durationMs + kDrainMs), this,
                           [this] { deleteLater(); });
        QObject::connect(&feed_, &QTimer::timeout, this, &Playing::Write);
        feed_.start(kFeedMs);
        Write();
    }

    ~Playing() override { sink_->stop(); }

    Playing(const Playing&) = delete;
    Playing& operator=(const Playing&) = delete;

private:
    void Write() {
        const qsizetype room = std::min<qsizetype>(sink_->bytesFree(), samples_.size() - written_);
        if (room > 0) {
            written_ += std::max<qint64>(0, device_->write(samples_.constData() + written_, room));
        }
        if (written_ >= samples_.size()) {
            feed_.stop();
        }
    }

    // Sounds longer than the device holds at once are written as room frees up.
    static constexpr qint64 kMostHeld = 4 * 1024 * 1024;
    static constexpr int kFeedMs = 50;
    static constexpr int kDrainMs = 2000;
    QAudioSink* sink_;
    QIODevice* device_ = nullptr;
    QByteArray samples_;
    qsizetype written_ = 0;
    QTimer feed_;
};

// Owns the thread that plays: its event loop feeds the audio stream. Every sound is started,
// stopped and deleted on that thread.
class ThreadedSoundPlayer final : public SoundPlayer {
public:
    ThreadedSoundPlayer() {
        thread_.setObjectName(QStringLiteral("brindle-sound"));
        home_->moveToThread(&thread_);
        // The home, and with it the sound it parents, is deleted on its own thread as that
        // thread's loop ends.
        QObject::connect(&thread_, &QThread::finished, home_, &QObject::deleteLater);
        thread_.start();
    }

    ~ThreadedSoundPlayer() override {
        thread_.quit();
        thread_.wait();
    }

    ThreadedSoundPlayer(const ThreadedSoundPlayer&) = delete;
    ThreadedSoundPlayer& operator=(const ThreadedSoundPlayer&) = delete;

    void Play(const QString& path) override {
        QMetaObject::invokeMethod(home_, [this, path] {
            StopHere();
            if (std::optional<Wave> wave = ReadWave(path)) {
                playing_ = new Playing(std::move(*wave), home_);
            }
        });
    }

    void Stop() override {
        QMetaObject::invokeMethod(home_, [this] { StopHere(); });
    }

private:
    // Runs on the player's thread only.
    void StopHere() { delete playing_.data(); }

    QThread thread_;
    QObject* home_ = new QObject;
    QPointer<Playing> playing_;
};

}  // namespace
}  // namespace brindle

brindle::SoundPlayer* BrindleCreateSoundPlayer() {
    return new brindle::ThreadedSoundPlayer;
}
