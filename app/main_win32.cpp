#include "command_line.h"
#include "program.h"
#include "toolkit.h"
#include "win32_command_line.h"

// The Windows program: the program on the native backend and the machine's clock. The sound file
// is named without a folder: the backend plays it from the current directory when it is there and
// from the program's own folder otherwise, so a start from any folder still chimes.
int main() {
    // The command line is read before any window exists, so a mistake opens none.
    const brindle::CommandLine commandLine =
        brindle::ParseCommandLine(brindle::CommandLineArguments());
    if (const auto early = brindle::EarlyExitFor(commandLine, "Brindle")) {
        brindle::Tell(*early);
        return early->status;
    }
    int noArguments = 0;
    brindle::Toolkit toolkit(noArguments, nullptr);
    return brindle::RunOnToolkit(toolkit, std::get<brindle::StartOptions>(commandLine));
}
