#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace brindle {

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
};

// What to start with. The lead and the interval are item texts of the setup window's lists, so
// they are picked as a user picks them; an absent value leaves its setting at the design value.
struct StartOptions {
    std::optional<TimeOfDay> reference;
    std::optional<std::string> lead;
    std::optional<std::string> interval;

    friend bool operator==(const StartOptions&, const StartOptions&) = default;
};

enum class InfoRequest { Help, Version };

enum class CommandLineFault {
    UnknownOption,
    UnexpectedArgument,
    MissingValue,
    UnwantedValue,
    BadValue,
    Repeated,
    NeedsInterval,
};

struct CommandLineError {
    CommandLineFault fault = CommandLineFault::UnknownOption;
    std::string option;  // as written, without an attached "=value"
    std::string value;
};

using CommandLine = std::variant<StartOptions, InfoRequest, CommandLineError>;

// Reads the arguments that follow the program's name: "--option value" and "--option=value".
// A lead or a reference without an interval is a mistake: nothing would count, and the only other
// way to start counting, the setup window, puts both back to their design values.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

enum class OutputStream { Output, Error };

// The program's answer when the command line ends it before any window exists.
struct EarlyExit {
    OutputStream stream = OutputStream::Output;
    std::string text;  // ends with a newline
    int status = 0;
};

inline constexpr int kUsageErrorStatus = 2;

// The help, the version or the one-line error for the command line, named after the program as
// the user starts it; nothing when the program is to start.
std::optional<EarlyExit> EarlyExitFor(const CommandLine& commandLine, std::string_view program);

}  // namespace brindle
