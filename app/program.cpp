#include "program.h"

#include <algorithm>
#include <cassert>
#include <iterator>

#include "clock.h"
#include "layouts.h"

namespace brindle {

namespace {

// Picks a list item by its text, as a click on it in the open list does.
void PickItem(ComboBox& list, const std::string& text) {
    const auto& items = list.Items();
    const auto found = std::find(items.begin(), items.end(), text);
    assert(found != items.end() && "the command line accepts only the list's own items");
    list.Pick(static_cast<std::size_t>(std::distance(items.begin(), found)));
}

}  // namespace

Program::Program(WindowSystem& windowSystem, OsFunctions& os, const Clock& clock, Desktop& desktop)
    : runtime(windowSystem, os, clock, desktop),
      frmCountDown(runtime, CountDownLayout(), Form1, frmMenu, frmRef),
      Form1(runtime, SetupLayout(), frmCountDown, frmMenu, frmRef),
      frmMenu(runtime, MenuLayout(), frmCountDown, Form1, frmRef),
      frmRef(runtime, ReferenceLayout(), frmCountDown) {}

void Program::Start() {
    frmCountDown.Show();
}

void Program::Apply(const StartOptions& options) {
    assert((options.interval || (!options.lead && !options.reference)) &&
           "the command line refuses a lead or a reference without an interval");
    if (options.reference) {
        // The dialog is loaded hidden and stays so, since every start reads its picker and a
        // freshly loaded picker would be back at midnight. The picker keeps its date: only the
        // time of day counts. Its value is set as code sets it, so that the hidden widget shows
        // the time when "Referance" brings the dialog up.
        DatePicker& picker = frmRef.DTPicker1();
        const CivilDateTime date = ToCivil(picker.Value());
        picker.SetValue(MakeDateTime(date.year, date.month, date.day, options.reference->hour,
                                     options.reference->minute, options.reference->second));
    }
    if (options.lead) {
        PickItem(Form1.Combo2(), *options.lead);
    }
    if (options.interval) {
        PickItem(Form1.Combo1(), *options.interval);
    }
}

int Program::Run(const StartOptions& options) {
    Start();
    Apply(options);
    return runtime.Run();
}

int RunOnToolkit(Toolkit& toolkit, const StartOptions& options) {
    SystemClock clock;
    Program program(toolkit.GetWindowSystem(), toolkit.GetOsFunctions(), clock,
                    toolkit.GetDesktop());
    return program.Run(options);
}

}  // namespace brindle
