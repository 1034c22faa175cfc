#pragma once

#include <functional>

#include "runtime/top_most.h"

namespace brindle {

// A window built from a test's own small layout. Its load and unload handlers count their runs
// and then run whatever the test handed them, so the runtime's window rules can be checked apart
// from the program's four windows.
class FormFake final : public TopMostForm {
public:
    using TopMostForm::TopMostForm;

    // Runs on every load once the controls exist, before Form_Load: controls are created afresh
    // on each load, so their handlers must be connected here.
    std::function<void(FormFake&)> onBind;
    std::function<void(FormFake&)> onLoad;
    std::function<void(FormFake&)> onUnload;

    int loadRuns = 0;
    int unloadRuns = 0;

private:
    void BindControls() override {
        if (onBind) {
            onBind(*this);
        }
    }
    void Form_Load() override {
        ++loadRuns;
        if (onLoad) {
            onLoad(*this);
        }
    }
    void Form_Unload() override {
        ++unloadRuns;
        if (onUnload) {
            onUnload(*this);
        }
    }
};

}  // namespace brindle
