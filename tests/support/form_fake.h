#pragma once

#include <functional>

#include "runtime/top_most.h"

namespace brindle {

// A window built from a test's own small layout, so the runtime's rules can be checked apart
// from the program's windows. Controls are created afresh on each load, so their handlers are
// connected in onBind, which runs before Form_Load.
class FormFake final : public TopMostForm {
public:
    using TopMostForm::TopMostForm;

    std::function<void(FormFake&)> onBind;
    std::function<void(FormFake&)> onLoad;
    std::function<void(FormFake&)> onUnload;
    int loadRuns = 0;
    int unloadRuns = 0;

private:
    static void Run(const std::function<void(FormFake&)>& handler, FormFake& form) {
        if (handler) {
            handler(form);
        }
    }
    void BindControls() override { Run(onBind, *this); }
    void Form_Load() override { ++loadRuns, Run(onLoad, *this); }
    void Form_Unload() override { ++unloadRuns, Run(onUnload, *this); }
};

}  // namespace brindle
