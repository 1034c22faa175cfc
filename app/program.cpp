#include "program.h"

#include "layouts.h"

namespace brindle {

Program::Program(WindowSystem& windowSystem, OsFunctions& os, const Clock& clock)
    : runtime(windowSystem, os, clock),
      frmCountDown(runtime, CountDownLayout(), Form1, frmMenu, frmRef),
      Form1(runtime, SetupLayout(), frmCountDown, frmMenu, frmRef),
      frmMenu(runtime, MenuLayout(), frmCountDown, Form1, frmRef),
      frmRef(runtime, ReferenceLayout(), frmCountDown) {}

void Program::Start() {
    frmCountDown.Show();
}

int Program::Run() {
    Start();
    return runtime.Run();
}

}  // namespace brindle
