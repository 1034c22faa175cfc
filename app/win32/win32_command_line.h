#pragma once

#include <string>
#include <vector>

#include "command_line.h"

namespace brindle {

// The arguments after the program's name as the user typed them, in UTF-8.
std::vector<std::string> CommandLineArguments();

// Gives the help, the version or a mistake to the user of a program without a console.
void Tell(const EarlyExit& early);

}  // namespace brindle
