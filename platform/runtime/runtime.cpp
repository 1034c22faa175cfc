#include "runtime/runtime.h"

#include <cassert>

#include "runtime/form.h"

namespace brindle {

Runtime::~Runtime() {
    EmptyDiscarded();
}

int Runtime::Run() {
    if (loaded_ == 0) {
        return 0;
    }
    return windowSystem_.Run();
}

void Runtime::WindowLoaded() {
    ++loaded_;
    ended_ = false;
}

void Runtime::WindowUnloaded() {
    assert(loaded_ > 0 && "more windows unloaded than loaded");
    --loaded_;
    // Inside a handler the count may touch zero for a moment (a command that unloads every window
    // and then shows one again); the program ends only when the outermost event is over.
    if (eventDepth_ == 0) {
        EndIfNoWindowIsLeft();
    }
}

void Runtime::Discard(std::unique_ptr<WindowPeer> peer,
                      std::vector<std::unique_ptr<Control>> controls) {
    if (peer) {
        discardedPeers_.push_back(std::move(peer));
    }
    for (auto& control : controls) {
        discardedControls_.push_back(std::move(control));
    }
}

void Runtime::LeaveEvent() {
    assert(eventDepth_ > 0 && "event scopes are unbalanced");
    if (--eventDepth_ == 0) {
        EndIfNoWindowIsLeft();
    }
}

void Runtime::EndIfNoWindowIsLeft() {
    EmptyDiscarded();
    if (loaded_ == 0 && !ended_) {
        ended_ = true;
        windowSystem_.Quit();
    }
}

void Runtime::EmptyDiscarded() {
    // Peers first: they refer to the controls.
    discardedPeers_.clear();
    discardedControls_.clear();
}

}  // namespace brindle
