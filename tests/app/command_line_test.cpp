#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "command_line.h"

namespace brindle {
namespace {

const std::string kMinutes = "it takes minutes, 1 to 60";
const std::string kSeconds = "it takes seconds, 20, 30, 40, 50 or 60";
const std::string kTime = "it takes a time of day, HH:MM or HH:MM:SS (00:00 to 23:59:59)";
const std::string kOptions =
    "the options are --help, --version, --interval, --lead and --reference";
using F = CommandLineFault;

TEST(CommandLine, EachMistakeIsOneLineOnStandardErrorWithStatusTwo) {
    const std::string kNeeds =
        " needs --interval, which starts the countdown it is for: add "
        "--interval with minutes, 1 to 60";
    const std::vector<std::tuple<std::vector<std::string>, F, std::string>> rows = {
        {{"--interval", ""}, F::BadValue, "bad value '' for --interval: " + kMinutes},
        {{"--interval=0"}, F::BadValue, "bad value '0' for --interval: " + kMinutes},
        {{"--interval", "-5"}, F::BadValue, "bad value '-5' for --interval: " + kMinutes},
        {{"--lead", "45"}, F::BadValue, "bad value '45' for --lead: " + kSeconds},
        {{"--reference", "25:00"}, F::BadValue, "bad value '25:00' for --reference: " + kTime},
        {{"--reference=7:5"}, F::BadValue, "bad value '7:5' for --reference: " + kTime},
        {{"--interval", "15", "--interval=20"},
         F::Repeated,
         "--interval is given more than once: give it once, with minutes, 1 to 60"},
        {{"--interval", "15", "--lead"}, F::MissingValue, "missing value for --lead: " + kSeconds},
        // An option where a value is due means the value was left out, not that it is the value.
        {{"--interval", "--lead", "30"},
         F::MissingValue,
         "missing value for --interval: " + kMinutes},
        {{"--lead", "-h", "--interval", "15"},
         F::MissingValue,
         "missing value for --lead: " + kSeconds},
        {{"--colour", "red"}, F::UnknownOption, "unknown option '--colour': " + kOptions},
        {{"15"}, F::UnexpectedArgument, "unexpected argument '15': " + kOptions},
        {{"--help=all"}, F::UnwantedValue, "--help takes no value, but was given 'all'"},
        {{"--lead", "45", "--help"}, F::BadValue, "bad value '45' for --lead: " + kSeconds},
        // A control character would split the line; it is shown as '?'.
        {{"--lead", "4\n5"}, F::BadValue, "bad value '4?5' for --lead: " + kSeconds},
        // Without an interval nothing counts, and "Change Time", the only other way to start,
        // puts the lead and the reference back: they would do nothing anyone sees.
        {{"--lead", "30"}, F::NeedsInterval, "--lead" + kNeeds},
        {{"--reference=10:07"}, F::NeedsInterval, "--reference" + kNeeds},
        {{"--reference", "10:07", "--lead", "30"}, F::NeedsInterval, "--reference" + kNeeds},
    };
    for (const auto& [arguments, fault, message] : rows) {
        const CommandLine parsed = ParseCommandLine(arguments);
        ASSERT_TRUE(std::holds_alternative<CommandLineError>(parsed)) << message;
        EXPECT_EQ(std::get<CommandLineError>(parsed).fault, fault) << message;
        const auto early = EarlyExitFor(parsed, "brindle");
        ASSERT_TRUE(early.has_value());
        EXPECT_EQ(early->stream, OutputStream::Error);
        EXPECT_EQ(early->status, 2);
        EXPECT_EQ(early->text, "brindle: " + message + "\n");
    }
}

TEST(CommandLine, ValuesAreTakenInBothSpellingsAndHelpAndVersionEndAtOnce) {
    EXPECT_EQ(std::get<StartOptions>(
                  ParseCommandLine({"--reference", "10:07", "--lead", "30", "--interval=15"})),
              (StartOptions{TimeOfDay{10, 7, 0}, "30", "15"}));
    EXPECT_EQ(std::get<StartOptions>(ParseCommandLine({"--reference=23:59:59", "--interval", "1"}))
                  .reference,
              (TimeOfDay{23, 59, 59}));
    EXPECT_FALSE(EarlyExitFor(ParseCommandLine({}), "brindle").has_value());
    // Help wins over options that would start counting or be refused as incomplete, and asked for
    // in both spellings it is still one request.
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"-h"}, {"--interval", "15", "--help"}, {"-h", "--help"}, {"--lead", "30", "-h"}}) {
        const auto early = EarlyExitFor(ParseCommandLine(arguments), "brindle");
        ASSERT_TRUE(early.has_value());
        EXPECT_EQ(early->stream, OutputStream::Output);
        EXPECT_EQ(early->status, 0);
        EXPECT_EQ(early->text.rfind("Usage: brindle [options]\n", 0), 0u);
        // Each option's line gives its allowed values and default, within 79 columns.
        std::istringstream lines(early->text.substr(early->text.find("Options:")));
        std::string line;
        std::string words;
        while (std::getline(lines, line)) {
            EXPECT_LE(line.size(), 79u) << line;
            words += line + " ";
        }
        words = std::regex_replace(words, std::regex(" +"), " ");
        for (const char* text :
             {"1 to 60", "20, 30, 40, 50 or 60 (default 20)", "(default 00:00)"}) {
            EXPECT_NE(words.find(text), std::string::npos) << text;
        }
    }
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"-v"}, {"--version", "-v"}}) {
        const auto version = EarlyExitFor(ParseCommandLine(arguments), "Brindle");
        ASSERT_TRUE(version.has_value());
        EXPECT_EQ(version->text, "Brindle " BRINDLE_VERSION "\n");
        EXPECT_EQ(version->status, 0);
    }
}

}  // namespace
}  // namespace brindle
