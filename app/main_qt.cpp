#include <cstdio>
#include <string>
#include <vector>

#include "command_line.h"
#include "program.h"
#include "session_platform.h"
#include "toolkit.h"

int main(int argc, char** argv) {
    // The command line is read before the toolkit starts, so help, the version and a mistake are
    // answered without a display. Qt is given only the program's name: its own options would
    // otherwise be taken out of the arguments first, so that the two programs no longer read the
    // same command line; Qt's settings remain open to its environment variables.
    const brindle::CommandLine commandLine =
        brindle::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (const auto early = brindle::EarlyExitFor(commandLine, "brindle")) {
        std::fputs(early->text.c_str(),
                   early->stream == brindle::OutputStream::Output ? stdout : stderr);
        return early->status;
    }
    brindle::ApplyPlatformChoice(brindle::ChoosePlatform(brindle::CurrentSessionEnvironment()));
    int qtArgc = 1;
    brindle::Toolkit toolkit(qtArgc, argv);
    return brindle::RunOnToolkit(toolkit, std::get<brindle::StartOptions>(commandLine));
}
