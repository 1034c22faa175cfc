#include "clock.h"
#include "command_line.h"
#include "program.h"
#include "win32_backend.h"
#include "win32_command_line.h"

// The Windows program: the program on the native backend and the machine's clock. The sound file
// is named without a folder, so it is looked for in the current directory, as the system resolves
// any relative name; the program is meant to be started from its own folder.
int main() {
    // The command line is read before any window exists, so a mistake opens none.
    const brindle::CommandLine commandLine =
        brindle::ParseCommandLine(brindle::CommandLineArguments());
    if (const auto early = brindle::EarlyExitFor(commandLine, "Brindle")) {
        brindle::Tell(*early);
        return early->status;
    }
    brindle::Win32Backend backend;
    brindle::SystemClock clock;
    brindle::Program program(backend.Windows(), backend.Os(), clock);
    return program.Run(std::get<brindle::StartOptions>(commandLine));
}
