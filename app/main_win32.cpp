#include "clock.h"
#include "program.h"
#include "win32_backend.h"

// The Windows program: the program on the native backend and the machine's clock. The sound file
// is named without a folder, so it is looked for in the current directory, as the system resolves
// any relative name; the program is meant to be started from its own folder.
int main() {
    brindle::Win32Backend backend;
    brindle::SystemClock clock;
    brindle::Program program(backend.Windows(), backend.Os(), clock);
    return program.Run();
}
