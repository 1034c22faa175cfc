// brindle-sound FILE: plays one sound file through the desktop's sound server, to its end, and
// exits. The program starts it for each chime (qt_sound.cpp), so that the sound server's client
// library, the decoder and all they load live only while a chime plays, and ends it to cut a
// chime short. Exits 0 when the sound was played, 1 when the file could not be read or the server
// could not be reached.

#include <pulse/context.h>
#include <pulse/mainloop.h>
#include <pulse/stream.h>
#include <sndfile.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr char kApplicationId[] = "io.github.brindle.Brindle";
// A sound up to this size is with the sound server whole before it starts (about 23 s of 44.1 kHz
// mono), so that once it is written nothing on a busy machine can break it up; a longer one is
// written on as it plays.
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

bool Play(const char* path) {
    SF_INFO info{};
    const SoundFile file(sf_open(path, SFM_READ, &info));
    if (!file || info.frames <= 0 || info.channels < 1 ||
        info.channels > static_cast<int>(PA_CHANNELS_MAX) || info.samplerate < 1) {
        return false;
    }
    // The file's samples are read as floats whatever their encoding; the server converts them.
    const pa_sample_spec spec{PA_SAMPLE_FLOAT32NE, static_cast<std::uint32_t>(info.samplerate),
                              static_cast<std::uint8_t>(info.channels)};
    pa_channel_map channels;
    if (!pa_sample_spec_valid(&spec) ||
        pa_channel_map_init_extend(&channels, spec.channels, PA_CHANNEL_MAP_WAVEEX) == nullptr) {
        return false;
    }
    const auto frameBytes = static_cast<sf_count_t>(pa_frame_size(&spec));

    const MainLoop loop(pa_mainloop_new());
    if (!loop) {
        return false;
    }
    // Runs the loop until `step` says done; false when it fails or the loop breaks.
    const auto until = [&loop](auto step) {
        for (;;) {
            switch (step()) {
                case Progress::Done:
                    return true;
                case Progress::Failed:
                    return false;
                case Progress::Waiting:
                    break;
            }
            if (pa_mainloop_iterate(loop.get(), 1, nullptr) < 0) {
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
        return false;
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
        return false;
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
        return false;
    }

    // Draining also starts a sound shorter than the server's least buffer, which has not begun.
    bool drained = false;
    const Operation drain(pa_stream_drain(
        stream.get(), [](pa_stream*, int, void* done) { *static_cast<bool*>(done) = true; },
        &drained));
    return drain && until([&] {
               if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream.get()))) {
                   return Progress::Failed;
               }
               return drained ? Progress::Done : Progress::Waiting;
           });
}

}  // namespace

int main(int argc, char** argv) {
    return argc == 2 && Play(argv[1]) ? 0 : 1;
}
