#include <algorithm>
#include <cstddef>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "command_line.h"
#include "form1.h"
#include "layouts.h"
#include "program_fixture.h"

namespace brindle {
namespace {

struct BadInput {
    std::vector<std::string> arguments;
    CommandLineFault fault;
    const char* message;
};

const BadInput kBadInputs[] = {
    {{"--interval", ""},
     CommandLineFault::BadValue,
     "brindle: bad value '' for --interval: it takes minutes, 1 to 60"},
    {{"--interval=0"},
     CommandLineFault::BadValue,
     "brindle: bad value '0' for --interval: it takes minutes, 1 to 60"},
    {{"--interval", "61"},
     CommandLineFault::BadValue,
     "brindle: bad value '61' for --interval: it takes minutes, 1 to 60"},
    {{"--interval", "15m"},
     CommandLineFault::BadValue,
     "brindle: bad value '15m' for --interval: it takes minutes, 1 to 60"},
    {{"--lead", "45"},
     CommandLineFault::BadValue,
     "brindle: bad value '45' for --lead: it takes seconds, 20, 30, 40, 50 or 60"},
    {{"--reference", "25:00"},
     CommandLineFault::BadValue,
     "brindle: bad value '25:00' for --reference: it takes a time of day, HH:MM or HH:MM:SS "
     "(00:00 to 23:59:59)"},
    {{"--reference=7:5"},
     CommandLineFault::BadValue,
     "brindle: bad value '7:5' for --reference: it takes a time of day, HH:MM or HH:MM:SS "
     "(00:00 to 23:59:59)"},
    {{"--interval", "15", "--interval=20"},
     CommandLineFault::Repeated,
     "brindle: --interval is given more than once: give it once, with minutes, 1 to 60"},
    {{"--interval", "15", "--lead"},
     CommandLineFault::MissingValue,
     "brindle: missing value for --lead: it takes seconds, 20, 30, 40, 50 or 60"},
    {{"--colour", "red"},
     CommandLineFault::UnknownOption,
     "brindle: unknown option '--colour': the options are --help, --version, --interval, --lead "
     "and --reference"},
    {{"15"},
     CommandLineFault::UnexpectedArgument,
     "brindle: unexpected argument '15': the options are --help, --version, --interval, --lead "
     "and --reference"},
    {{"--help=all"},
     CommandLineFault::UnwantedValue,
     "brindle: --help takes no value, but was given 'all'"},
    // A mistake is reported even when help is asked for as well.
    {{"--lead", "45", "--help"},
     CommandLineFault::BadValue,
     "brindle: bad value '45' for --lead: it takes seconds, 20, 30, 40, 50 or 60"},
};

TEST(CommandLine, EachMistakeIsOneLineOnStandardErrorWithStatusTwo) {
    for (const BadInput& input : kBadInputs) {
        SCOPED_TRACE(input.message);
        const CommandLine parsed = ParseCommandLine(input.arguments);
        ASSERT_TRUE(std::holds_alternative<CommandLineError>(parsed));
        EXPECT_EQ(std::get<CommandLineError>(parsed).fault, input.fault);
        const auto early = EarlyExitFor(parsed, "brindle");
        ASSERT_TRUE(early.has_value());
        EXPECT_EQ(early->stream, OutputStream::Error);
        EXPECT_EQ(early->status, 2);
        EXPECT_EQ(early->text, std::string(input.message) + "\n");
    }
}

TEST(CommandLine, ValuesAreTakenInBothSpellingsAndOnlyFromTheLists) {
    const StartOptions all = std::get<StartOptions>(
        ParseCommandLine({"--reference", "10:07", "--lead", "30", "--interval", "15"}));
    EXPECT_EQ(all, (StartOptions{TimeOfDay{10, 7, 0}, "30", "15"}));
    EXPECT_FALSE(EarlyExitFor(all, "brindle").has_value());

    const StartOptions attached = std::get<StartOptions>(
        ParseCommandLine({"--interval=60", "--lead=20", "--reference=23:59:59"}));
    EXPECT_EQ(attached, (StartOptions{TimeOfDay{23, 59, 59}, "20", "60"}));

    EXPECT_EQ(std::get<StartOptions>(ParseCommandLine({})), StartOptions{});

    // Every list item is accepted as it stands, and nothing else of its form.
    for (const auto* items : {&Form1::IntervalItems(), &Form1::LeadItems()}) {
        const std::string option = items == &Form1::LeadItems() ? "--lead" : "--interval";
        for (const std::string& item : *items) {
            EXPECT_TRUE(std::holds_alternative<StartOptions>(ParseCommandLine({option, item})))
                << option << " " << item;
            EXPECT_TRUE(
                std::holds_alternative<CommandLineError>(ParseCommandLine({option, "0" + item})))
                << option << " 0" << item;
        }
    }
}

TEST(CommandLine, HelpAndVersionGoToStandardOutputWithStatusZero) {
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"-h"}, {"--help"}, {"--interval", "15", "--help"}}) {
        const auto early = EarlyExitFor(ParseCommandLine(arguments), "brindle");
        ASSERT_TRUE(early.has_value());
        EXPECT_EQ(early->stream, OutputStream::Output);
        EXPECT_EQ(early->status, 0);
        EXPECT_EQ(early->text.rfind("Usage: brindle [options]\n", 0), 0u);
    }

    // Each option's line gives its allowed values and default, descriptions in one column.
    const std::string help = EarlyExitFor(InfoRequest::Help, "brindle")->text;
    std::istringstream lines(help.substr(help.find("Options:\n") + 9));
    std::string line;
    std::vector<std::size_t> columns;
    std::string described;
    while (std::getline(lines, line)) {
        EXPECT_LE(line.size(), 79u) << line;
        const bool continued = line.rfind("  -", 0) != 0;
        columns.push_back(line.find_first_not_of(' ', continued ? 0 : line.find("  ", 2)));
        described += line.substr(columns.back()) + " ";
    }
    EXPECT_GE(columns.size(), 5u);
    EXPECT_EQ(std::count(columns.begin(), columns.end(), columns.front()),
              static_cast<std::ptrdiff_t>(columns.size()));
    EXPECT_NE(described.find("1 to 60"), std::string::npos);
    EXPECT_NE(described.find("20, 30, 40, 50 or 60 (default 20)"), std::string::npos);
    EXPECT_NE(described.find("(default 00:00)"), std::string::npos);

    for (const auto& arguments : std::vector<std::vector<std::string>>{{"-v"}, {"--version"}}) {
        const auto early = EarlyExitFor(ParseCommandLine(arguments), "Brindle");
        ASSERT_TRUE(early.has_value());
        EXPECT_EQ(early->stream, OutputStream::Output);
        EXPECT_EQ(early->status, 0);
        EXPECT_EQ(early->text, "Brindle " BRINDLE_VERSION "\n");
    }
}

class StartedFromCommandLine : public ::testing::Test, public ProgramFixture {};

TEST_F(StartedFromCommandLine, CountsAtOnceAsAfterTheUsersClicks) {
    // Started at 10:14:35 with --reference 10:07 --lead 30 --interval 15.
    clock.Set(10, 14, 35);
    program.Apply({TimeOfDay{10, 7, 0}, "30", "15"});

    // The periods end at 07, 22, 37 and 52 past the hour: 7 min 25 s are left.
    EXPECT_EQ(TickAt(10, 14, 35), "07:25");
    EXPECT_EQ(countDown.Label1().Caption(), "15 Min");
    EXPECT_TRUE(countDown.IsVisible());
    EXPECT_TRUE(setup.IsLoaded());
    EXPECT_FALSE(setup.IsVisible());
    EXPECT_FALSE(dialog.IsVisible());
    EXPECT_FALSE(setup.Combo2().Enabled());

    // The warning sounds 30 s before the boundary, not at the design lead of 20 s.
    EXPECT_EQ(TickAt(10, 21, 29), "00:31");
    EXPECT_EQ(SoundsPlayed(), 0u);
    EXPECT_EQ(TickAt(10, 21, 30), "00:30");
    ASSERT_EQ(SoundsPlayed(), 1u);
    EXPECT_EQ(os.CallsOf("PlaySoundA")[0].text, "S_Timer.wav");
    EXPECT_EQ(TickAt(10, 21, 40), "00:20");
    EXPECT_EQ(SoundsPlayed(), 1u);

    // "Referance" brings up the same dialog at the time the countdown counts from; "Ok" restarts
    // from it.
    ChooseOnCountDown("mnuReferance");
    EXPECT_TRUE(dialog.IsVisible());
    EXPECT_EQ(dialog.LoadCount(), 1u);
    EXPECT_EQ(dialog.DTPicker1().Value(), MakeDateTime(2003, 11, 20, 10, 7, 0));
    PressOk();
    EXPECT_EQ(TickAt(10, 30, 0), "07:00");

    // "Change Time" starts afresh, as it always does.
    ChooseOnCountDown("mnuCT");
    ExpectFreshSetupWindowShown();
}

TEST_F(StartedFromCommandLine, LeadOrReferenceAloneKeepTheFirstScreen) {
    program.Apply({TimeOfDay{10, 7, 30}, "50", std::nullopt});

    // The first screen as without options: idle, nothing counting.
    EXPECT_TRUE(countDown.IsVisible());
    EXPECT_EQ(countDown.lblCountDown().Caption(), "");
    EXPECT_EQ(countDown.Label1().Caption(), "Label1");
    EXPECT_FALSE(countDown.tmrDisplayTime().Enabled());
    EXPECT_FALSE(setup.IsVisible());
    EXPECT_FALSE(dialog.IsVisible());
    EXPECT_EQ(countDown.alert().Text(), "50");

    // The hidden dialog's widget was told the time, so "Referance" shows it.
    EXPECT_NE(std::find_if(windows.updates.begin(), windows.updates.end(),
                           [](const PeerUpdate& u) {
                               return u.window == "frmRef" && u.control == "DTPicker1" &&
                                      u.property == Property::Value;
                           }),
              windows.updates.end());
    ChooseOnCountDown("mnuReferance");
    EXPECT_EQ(dialog.DTPicker1().Value(), MakeDateTime(2003, 11, 20, 10, 7, 30));
}

TEST_F(StartedFromCommandLine, NoOptionsLoadNothingMore) {
    program.Apply({});
    EXPECT_EQ(program.runtime.LoadedWindowCount(), 1);
    EXPECT_EQ(countDown.alert().Text(), "20");
}

}  // namespace
}  // namespace brindle
