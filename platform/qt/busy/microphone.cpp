#include <pulse/pulseaudio.h>

#include <set>
#include <vector>

#include "busy.h"

namespace brindle::busy {

namespace {

// What the sound server told one check: its sources that record what an output plays, and the
// sources that other programs' running recordings read from.
struct Streams {
    std::set<std::uint32_t> monitors;
    std::vector<std::uint32_t> recordedSources;
    int listsPending = 2;
    bool failed = false;
};

void OnSource(pa_context*, const pa_source_info* info, int eol, void* data) {
    auto& streams = *static_cast<Streams*>(data);
    if (eol != 0) {
        streams.failed |= eol < 0;
        --streams.listsPending;
    } else if (info->monitor_of_sink != PA_INVALID_INDEX) {
        streams.monitors.insert(info->index);
    }
}

void OnSourceOutput(pa_context*, const pa_source_output_info* info, int eol, void* data) {
    auto& streams = *static_cast<Streams*>(data);
    if (eol != 0) {
        streams.failed |= eol < 0;
        --streams.listsPending;
    } else if (info->corked == 0) {
        streams.recordedSources.push_back(info->source);
    }
}

// Runs the loop until done says so or the deadline passes; false when the deadline or an error
// came first.
template <typename Done>
bool RunUntil(pa_mainloop* loop, Deadline deadline, Done done) {
    while (!done()) {
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || pa_mainloop_prepare(loop, static_cast<int>(left.count())) < 0 ||
            pa_mainloop_poll(loop) < 0 || pa_mainloop_dispatch(loop) < 0) {
            return false;
        }
    }
    return true;
}

bool Settled(pa_context_state_t state) {
    return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
}

}  // namespace

bool Microphone(Deadline deadline) {
    pa_mainloop* loop = pa_mainloop_new();
    if (loop == nullptr) {
        return false;
    }
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "Brindle busy check");
    bool busy = false;
    // Outlives the context, whose end may still report to it.
    Streams streams;
    // A sound server that is not running is not started for the question: nobody records then.
    if (context != nullptr &&
        pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0 &&
        RunUntil(loop, deadline, [&] { return Settled(pa_context_get_state(context)); }) &&
        pa_context_get_state(context) == PA_CONTEXT_READY) {
        // The server answers in order, so the sources are all known when the recordings come.
        pa_operation* sources = pa_context_get_source_info_list(context, OnSource, &streams);
        pa_operation* outputs =
            pa_context_get_source_output_info_list(context, OnSourceOutput, &streams);
        if (sources != nullptr && outputs != nullptr &&
            RunUntil(loop, deadline, [&] { return streams.listsPending == 0; }) &&
            !streams.failed) {
            for (const std::uint32_t source : streams.recordedSources) {
                busy |= streams.monitors.count(source) == 0;
            }
        }
        // An operation still pending when the deadline passed is cancelled with the context.
        for (pa_operation* operation : {sources, outputs}) {
            if (operation != nullptr) {
                pa_operation_unref(operation);
            }
        }
    }
    if (context != nullptr) {
        pa_context_disconnect(context);
        pa_context_unref(context);
    }
    pa_mainloop_free(loop);
    return busy;
}

}  // namespace brindle::busy
