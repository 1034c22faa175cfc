#include "qt/qt_sound.h"

#include <pthread.h>
#include <pulse/context.h>
#include <pulse/mainloop.h>
#include <pulse/stream.h>
#include <sndfile.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <memory>
#include <system_error>
#include <utility>
#include <vector>

namespace brindle {

namespace {

namespace fs = std::filesystem;

constexpr char kApplicationId[] = "io.github.brindle.Brindle";
// A sound up to this size is with the sound server whole before it starts (about 23 s of 44.1 kHz
// mono), so that once it is written a busy machine that keeps the sound's thread waiting cannot
// break it up; a longer one is written on as it plays.
constexpr std::uint32_t kMostHeld = 4 * 1024 * 1024;
constexpr sf_count_t kFramesPerWrite = 16384;
constexpr std::uint32_t kServerChooses = static_cast<std::uint32_t>(-1);

template <auto Free>
struct Freeing {
    template <typename T>
    void operator()(T* object) const {
        Free(object);
    }
};

void Disconnect(pa_context* context) {
    pa_context_disconnect(context);
    pa_context_unref(context);
}

void Disconnect(pa_stream* stream) {
    pa_stream_disconnect(stream);
    pa_stream_unref(stream);
}

// An operation left unfinished must not call back into what is gone.
void Forget(pa_operation* operation) {
    pa_operation_cancel(operation);
    pa_operation_unref(operation);
}

using SoundFile = std::unique_ptr<SNDFILE, Freeing<sf_close>>;
using MainLoop = std::unique_ptr<pa_mainloop, Freeing<pa_mainloop_free>>;
using Properties = std::unique_ptr<pa_proplist, Freeing<pa_proplist_free>>;
using Context =
    std::unique_ptr<pa_context, Freeing<static_cast<void (*)(pa_context*)>(Disconnect)>>;
using Stream = std::unique_ptr<pa_stream, Freeing<static_cast<void (*)(pa_stream*)>(Disconnect)>>;
using Operation = std::unique_ptr<pa_operation, Freeing<Forget>>;

enum class Progress { Waiting, Done, Failed };

Progress Of(pa_context_state_t state) {
    if (state == PA_CONTEXT_READY) {
        return Progress::Done;
    }
    return PA_CONTEXT_IS_GOOD(state) ? Progress::Waiting : Progress::Failed;
}

Progress Of(pa_stream_state_t state) {
    if (state == PA_STREAM_READY) {
        return Progress::Done;
    }
    return PA_STREAM_IS_GOOD(state) ? Progress::Waiting : Progress::Failed;
}

Properties Describe(std::initializer_list<std::pair<const char*, const char*>> entries) {
    Properties properties(pa_proplist_new());
    for (const auto& [key, value] : entries) {
        pa_proplist_sets(properties.get(), key, value);
    }
    return properties;
}

bool IsPlayableFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error) && ::access(path.c_str(), R_OK) == 0;
}

fs::path ProgramDir() {
    return fs::path(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
}

}  // namespace

QtSound::QtSound()
    : programDir_(ProgramDir()),
      dataDirFromProgram_((programDir_ / BRINDLE_DATA_DIR_FROM_BIN).lexically_normal()) {}

QtSound::~QtSound() {
    Stop();
    if (thread_.joinable()) {
        thread_.join();
    }
}

fs::path QtSound::Locate(const std::string& name) const {
    if (name.empty()) {
        return {};
    }
    const fs::path file(name);
    if (file.is_absolute()) {
        return IsPlayableFile(file) ? file : fs::path();
    }
    std::error_code error;
    const fs::path candidates[] = {
        fs::absolute(file, error),
        programDir_ / file,
        dataDirFromProgram_ / file,
        fs::path(BRINDLE_DATA_DIR) / file,
    };
    for (const fs::path& candidate : candidates) {
        if (IsPlayableFile(candidate)) {
            return candidate;
        }
    }
    return {};
}

bool QtSound::Play(const std::string& name) {
    fs::path path = Locate(name);
    if (path.empty()) {
        Stop();
        return false;
    }
    const std::lock_guard lock(mutex_);
    ReplaceLocked(std::move(path));
    if (running_) {
        return true;
    }
    // A thread that has cleared running_ has nothing left to do but return.
    if (thread_.joinable()) {
        thread_.join();
    }
    try {
        thread_ = std::thread(&QtSound::Run, this);
    } catch (const std::system_error&) {
        next_.reset();
        return false;
    }
    running_ = true;
    return true;
}

void QtSound::Stop() {
    const std::lock_guard lock(mutex_);
    ReplaceLocked(std::nullopt);
}

void QtSound::ReplaceLocked(std::optional<fs::path> path) {
    next_ = std::move(path);
    ++request_;
    if (loop_ != nullptr) {
        pa_mainloop_wakeup(loop_);
    }
}

bool QtSound::Replaced(std::uint64_t request) {
    const std::lock_guard lock(mutex_);
    return request != request_;
}

void QtSound::SetLoop(pa_mainloop* loop) {
    const std::lock_guard lock(mutex_);
    loop_ = loop;
}

void QtSound::Run() {
    pthread_setname_np(pthread_self(), "brindle-sound");
    std::unique_lock lock(mutex_);
    while (next_) {
        const fs::path path = std::move(*next_);
        next_.reset();
        const std::uint64_t request = request_;
        lock.unlock();
        PlayFile(path, request);
        lock.lock();
    }
    running_ = false;
}

void QtSound::PlayFile(const fs::path& path, std::uint64_t request) {
    SF_INFO info{};
    const SoundFile file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file || info.frames <= 0 || info.channels < 1 ||
        info.channels > static_cast<int>(PA_CHANNELS_MAX) || info.samplerate < 1) {
        return;
    }
    // The file's samples are read as floats whatever their encoding; the server converts them.
    const pa_sample_spec spec{PA_SAMPLE_FLOAT32NE, static_cast<std::uint32_t>(info.samplerate),
                              static_cast<std::uint8_t>(info.channels)};
    pa_channel_map channels;
    if (!pa_sample_spec_valid(&spec) ||
        pa_channel_map_init_extend(&channels, spec.channels, PA_CHANNEL_MAP_WAVEEX) == nullptr) {
        return;
    }
    const sf_count_t frameBytes = static_cast<sf_count_t>(pa_frame_size(&spec));

    const MainLoop loop(pa_mainloop_new());
    if (!loop) {
        return;
    }
    // Every wait below is a poll of this loop, which a replacing request wakes.
    SetLoop(loop.get());
    struct Registration {
        QtSound& sound;
        ~Registration() { sound.SetLoop(nullptr); }
    } const registration{*this};
    const auto until = [&](auto step) {
        for (;;) {
            switch (step()) {
                case Progress::Done:
                    return true;
                case Progress::Failed:
                    return false;
                case Progress::Waiting:
                    break;
            }
            // Preparing the poll clears earlier wake-ups: a request that replaces this one after
            // the check below wakes the poll, and one before it is seen by the check.
            if (pa_mainloop_prepare(loop.get(), -1) < 0 || Replaced(request) ||
                pa_mainloop_poll(loop.get()) < 0 || pa_mainloop_dispatch(loop.get()) < 0) {
                return false;
            }
        }
    };

    const Properties application = Describe({{PA_PROP_APPLICATION_NAME, "Brindle"},
                                             {PA_PROP_APPLICATION_ID, kApplicationId},
                                             {PA_PROP_APPLICATION_ICON_NAME, kApplicationId}});
    const Context context(
        pa_context_new_with_proplist(pa_mainloop_get_api(loop.get()), nullptr, application.get()));
    if (!context || pa_context_connect(context.get(), nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0 ||
        !until([&] { return Of(pa_context_get_state(context.get())); })) {
        return;
    }

    // An alert's sound, which desktops give the volume of their other alerts, as Windows plays
    // such sounds among its system sounds.
    const Properties media = Describe({{PA_PROP_MEDIA_ROLE, "event"}});
    const Stream stream(
        pa_stream_new_with_proplist(context.get(), "Chime", &spec, &channels, media.get()));
    // Playback begins once the server holds what the stream asked for: the whole sound, or as
    // much of a long one as kMostHeld.
    const pa_buffer_attr buffer{
        .maxlength = kServerChooses,
        .tlength = static_cast<std::uint32_t>(std::min<std::uint64_t>(
            static_cast<std::uint64_t>(info.frames * frameBytes), kMostHeld)),
        .prebuf = kServerChooses,
        .minreq = kServerChooses,
        .fragsize = kServerChooses,
    };
    if (!stream ||
        pa_stream_connect_playback(stream.get(), nullptr, &buffer, PA_STREAM_NOFLAGS, nullptr,
                                   nullptr) < 0 ||
        !until([&] { return Of(pa_stream_get_state(stream.get())); })) {
        return;
    }

    std::vector<float> samples;
    sf_count_t left = info.frames;
    const bool written = until([&] {
        while (left > 0) {
            if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream.get()))) {
                return Progress::Failed;
            }
            const std::size_t room = pa_stream_writable_size(stream.get());
            if (room == static_cast<std::size_t>(-1)) {
                return Progress::Failed;
            }
            const sf_count_t frames =
                std::min({left, static_cast<sf_count_t>(room) / frameBytes, kFramesPerWrite});
            if (frames == 0) {
                return Progress::Waiting;
            }
            samples.resize(static_cast<std::size_t>(frames) * spec.channels);
            const sf_count_t read = sf_readf_float(file.get(), samples.data(), frames);
            if (read > 0 && pa_stream_write(stream.get(), samples.data(),
                                            static_cast<std::size_t>(read * frameBytes), nullptr, 0,
                                            PA_SEEK_RELATIVE) < 0) {
                return Progress::Failed;
            }
            // A file that ends before its header says plays what there is.
            left = read < frames ? 0 : left - read;
        }
        return Progress::Done;
    });
    if (!written) {
        return;
    }

    // Draining also starts a sound shorter than the server's least buffer, which has not begun.
    bool drained = false;
    const Operation drain(pa_stream_drain(
        stream.get(), [](pa_stream*, int, void* done) { *static_cast<bool*>(done) = true; },
        &drained));
    if (drain) {
        until([&] {
            if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream.get()))) {
                return Progress::Failed;
            }
            return drained ? Progress::Done : Progress::Waiting;
        });
    }
}

}  // namespace brindle
