#include "command_line.h"

#include <algorithm>
#include <array>
#include <cassert>

#include "form1.h"
#include "layouts.h"
#include "value/date_time.h"

#ifndef BRINDLE_VERSION
#error "BRINDLE_VERSION must be defined by the build, from the project's version"
#endif

namespace brindle {

namespace {

constexpr std::size_t kHelpWidth = 79;

enum class OptionId { Help, Version, Interval, Lead, Reference };
enum class Takes { Nothing, Value };

struct OptionSpec {
    OptionId id;
    std::string_view name;
    std::string_view shortName;  // empty when there is none
    Takes takes;
    std::string_view valueName;
};

constexpr std::array<OptionSpec, 5> kOptions{{
    {OptionId::Help, "--help", "-h", Takes::Nothing, ""},
    {OptionId::Version, "--version", "-v", Takes::Nothing, ""},
    {OptionId::Interval, "--interval", "", Takes::Value, "<minutes>"},
    {OptionId::Lead, "--lead", "", Takes::Value, "<seconds>"},
    {OptionId::Reference, "--reference", "", Takes::Value, "<HH:MM[:SS]>"},
}};

const OptionSpec* FindOption(std::string_view written) {
    for (const OptionSpec& option : kOptions) {
        if (written == option.name || (!option.shortName.empty() && written == option.shortName)) {
            return &option;
        }
    }
    return nullptr;
}

// "20, 30, 40, 50 or 60".
std::string ListOf(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            text += i + 1 == items.size() ? " or " : ", ";
        }
        text += items[i];
    }
    return text;
}

// What an option takes, as the error messages and the help describe it.
std::string AllowedFor(OptionId id) {
    switch (id) {
        case OptionId::Interval:
            return "minutes, " + Form1::IntervalItems().front() + " to " +
                   Form1::IntervalItems().back();
        case OptionId::Lead:
            return "seconds, " + ListOf(Form1::LeadItems());
        case OptionId::Reference:
            return "a time of day, HH:MM or HH:MM:SS (00:00 to 23:59:59)";
        case OptionId::Help:
        case OptionId::Version:
            return "no value";
    }
    return "";
}

std::optional<int> TwoDigits(std::string_view text, std::size_t at, int limit) {
    if (at + 2 > text.size()) {
        return std::nullopt;
    }
    const char tens = text[at];
    const char units = text[at + 1];
    if (tens < '0' || tens > '9' || units < '0' || units > '9') {
        return std::nullopt;
    }
    const int value = (tens - '0') * 10 + (units - '0');
    return value < limit ? std::optional<int>(value) : std::nullopt;
}

std::optional<TimeOfDay> ReadTimeOfDay(std::string_view text) {
    if ((text.size() != 5 && text.size() != 8) || text[2] != ':' ||
        (text.size() == 8 && text[5] != ':')) {
        return std::nullopt;
    }
    const std::optional<int> hour = TwoDigits(text, 0, 24);
    const std::optional<int> minute = TwoDigits(text, 3, 60);
    const std::optional<int> second = text.size() == 8 ? TwoDigits(text, 6, 60) : 0;
    if (!hour || !minute || !second) {
        return std::nullopt;
    }
    return TimeOfDay{*hour, *minute, *second};
}

std::optional<std::string> ItemOf(const std::vector<std::string>& items, const std::string& text) {
    if (std::find(items.begin(), items.end(), text) == items.end()) {
        return std::nullopt;
    }
    return text;
}

// Stores one option's value; false when the value is not one the option takes.
bool Store(OptionId id, const std::string& value, StartOptions& options) {
    switch (id) {
        case OptionId::Interval:
            options.interval = ItemOf(Form1::IntervalItems(), value);
            return options.interval.has_value();
        case OptionId::Lead:
            options.lead = ItemOf(Form1::LeadItems(), value);
            return options.lead.has_value();
        case OptionId::Reference:
            options.reference = ReadTimeOfDay(value);
            return options.reference.has_value();
        case OptionId::Help:
        case OptionId::Version:
            break;
    }
    return false;
}

std::string OptionNames() {
    std::string names;
    for (std::size_t i = 0; i < kOptions.size(); ++i) {
        if (i > 0) {
            names += i + 1 == kOptions.size() ? " and " : ", ";
        }
        names += kOptions[i].name;
    }
    return names;
}

// An argument as the message quotes it: control characters would break the message's one line.
std::string Printable(std::string text) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            c = '?';
        }
    }
    return text;
}

std::string ErrorLine(const CommandLineError& error) {
    const OptionSpec* option = FindOption(error.option);
    const std::string allowed = option != nullptr ? AllowedFor(option->id) : "";
    const std::string written = Printable(error.option);
    const std::string value = Printable(error.value);
    switch (error.fault) {
        case CommandLineFault::UnknownOption:
            return "unknown option '" + written + "': the options are " + OptionNames();
        case CommandLineFault::UnexpectedArgument:
            return "unexpected argument '" + written + "': the options are " + OptionNames();
        case CommandLineFault::MissingValue:
            return "missing value for " + written + ": it takes " + allowed;
        case CommandLineFault::UnwantedValue:
            return written + " takes no value, but was given '" + value + "'";
        case CommandLineFault::BadValue:
            return "bad value '" + value + "' for " + written + ": it takes " + allowed;
        case CommandLineFault::Repeated:
            return written + " is given more than once: give it once, with " + allowed;
        case CommandLineFault::NeedsInterval:
            return written +
                   " needs --interval, which starts the countdown it is for: add --interval "
                   "with " +
                   AllowedFor(OptionId::Interval);
    }
    return "";
}

// The design value of a control of a window's layout, where the command line's defaults come from.
const ControlLayout& DesignOf(const WindowLayout& window, std::string_view control) {
    const auto found = std::find_if(window.controls.begin(), window.controls.end(),
                                    [&](const ControlLayout& c) { return c.name == control; });
    assert(found != window.controls.end() && "the layout has the control");
    return *found;
}

std::string Description(OptionId id) {
    switch (id) {
        case OptionId::Help:
            return "Displays help on commandline options.";
        case OptionId::Version:
            return "Displays version information.";
        case OptionId::Interval:
            return "Starts counting at once, in periods of this many minutes: " +
                   Form1::IntervalItems().front() + " to " + Form1::IntervalItems().back() + ".";
        case OptionId::Lead:
            return "With --interval, warns this many seconds before each boundary: " +
                   ListOf(Form1::LeadItems()) + " (default " +
                   DesignOf(CountDownLayout(), "alert").caption + ").";
        case OptionId::Reference: {
            const DateTime design = DesignOf(ReferenceLayout(), "DTPicker1").pickerValue;
            return "With --interval, counts the periods from this time of day (default " +
                   FormatDateTime(design, DatePattern::Hour) + ":" +
                   FormatDateTime(design, DatePattern::Minute) + ").";
        }
    }
    return "";
}

// Laid out as toolkits lay out their help: the option names in one column, aligned descriptions.
std::string HelpText(std::string_view program) {
    std::vector<std::string> names;
    std::size_t width = 0;
    for (const OptionSpec& option : kOptions) {
        std::string name = option.shortName.empty() ? "" : std::string(option.shortName) + ", ";
        name += option.name;
        if (option.takes == Takes::Value) {
            name += " " + std::string(option.valueName);
        }
        width = std::max(width, name.size());
        names.push_back(std::move(name));
    }
    std::string text = "Usage: " + std::string(program) + " [options]\n";
    text +=
        "Counts down to the next boundary of equal periods of the day and warns shortly\n"
        "before it. Without options it opens idle: right-click it, choose Change Time.\n\n"
        "Options:\n";
    const std::size_t column = 2 + width + 2;
    for (std::size_t i = 0; i < kOptions.size(); ++i) {
        std::string line = "  " + names[i];
        const std::string description = Description(kOptions[i].id);
        bool first = true;
        for (std::size_t at = 0; at < description.size();) {
            const std::size_t end = std::min(description.find(' ', at), description.size());
            const std::string_view word(description.data() + at, end - at);
            at = end + 1;
            // Descriptions wrap before the 80th column, continuing in their own column.
            if (!first && line.size() + 1 + word.size() > kHelpWidth) {
                text += line + "\n";
                line.clear();
                first = true;
            }
            line += first ? std::string(column - line.size(), ' ') : " ";
            line += word;
            first = false;
        }
        text += line + "\n";
    }
    return text;
}

// An argument that stands where a value is due but reads as an option: the value was left out.
// A minus and a digit is a value, if not an allowed one.
bool LooksLikeOption(const std::string& argument) {
    return argument.size() >= 2 && argument[0] == '-' && (argument[1] < '0' || argument[1] > '9');
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    StartOptions options;
    std::vector<OptionId> seen;
    std::string withoutInterval;  // the first of --lead and --reference, as written
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.size() < 2 || argument[0] != '-') {
            return CommandLineError{CommandLineFault::UnexpectedArgument, argument, ""};
        }
        const std::size_t equals =
            argument.rfind("--", 0) == 0 ? argument.find('=') : std::string::npos;
        const std::string written = argument.substr(0, equals);
        const OptionSpec* option = FindOption(written);
        if (option == nullptr) {
            return CommandLineError{CommandLineFault::UnknownOption, written, ""};
        }
        // "-h --help" asks for help twice, which is still a request for help; only a second value
        // would leave open which one is meant.
        if (option->takes == Takes::Value &&
            std::find(seen.begin(), seen.end(), option->id) != seen.end()) {
            return CommandLineError{CommandLineFault::Repeated, written, ""};
        }
        seen.push_back(option->id);
        if ((option->id == OptionId::Lead || option->id == OptionId::Reference) &&
            withoutInterval.empty()) {
            withoutInterval = written;
        }
        if (option->takes == Takes::Nothing) {
            if (equals != std::string::npos) {
                return CommandLineError{CommandLineFault::UnwantedValue, written,
                                        argument.substr(equals + 1)};
            }
            continue;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size() && !LooksLikeOption(arguments[i + 1])) {
            value = arguments[++i];
        } else {
            return CommandLineError{CommandLineFault::MissingValue, written, ""};
        }
        if (!Store(option->id, value, options)) {
            return CommandLineError{CommandLineFault::BadValue, written, value};
        }
    }
    if (std::find(seen.begin(), seen.end(), OptionId::Help) != seen.end()) {
        return InfoRequest::Help;
    }
    if (std::find(seen.begin(), seen.end(), OptionId::Version) != seen.end()) {
        return InfoRequest::Version;
    }
    if (!options.interval && !withoutInterval.empty()) {
        return CommandLineError{CommandLineFault::NeedsInterval, withoutInterval, ""};
    }
    return options;
}

std::optional<EarlyExit> EarlyExitFor(const CommandLine& commandLine, std::string_view program) {
    if (const auto* request = std::get_if<InfoRequest>(&commandLine)) {
        if (*request == InfoRequest::Help) {
            return EarlyExit{OutputStream::Output, HelpText(program), 0};
        }
        return EarlyExit{OutputStream::Output, std::string(program) + " " + BRINDLE_VERSION + "\n",
                         0};
    }
    if (const auto* error = std::get_if<CommandLineError>(&commandLine)) {
        return EarlyExit{OutputStream::Error,
                         std::string(program) + ": " + ErrorLine(*error) + "\n", kUsageErrorStatus};
    }
    return std::nullopt;
}

}  // namespace brindle
