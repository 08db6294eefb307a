#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace {

CommandLine parse(std::initializer_list<const char*> arguments) {
    std::vector<const char*> argv{"fyrel"};
    argv.insert(argv.end(), arguments);
    return parseCommandLine(static_cast<int>(argv.size()), argv.data());
}

// Each match of the pattern's first group, line by line.
std::vector<std::string> matches(std::istream& in, const std::regex& pattern) {
    std::vector<std::string> found;
    std::smatch match;
    for (std::string line; std::getline(in, line);) {
        if (std::regex_search(line, match, pattern)) found.push_back(match[1]);
    }
    return found;
}

}  // namespace

TEST(CommandLine, NoArgumentsKeepEveryDefaultAndEachOptionSetsItsOwnInEitherSpelling) {
    const CommandLine none = parse({});
    EXPECT_EQ(none.action, CommandLine::Action::Play);
    EXPECT_EQ(none.options.window.width, 1024);
    EXPECT_EQ(none.options.window.height, 768);
    EXPECT_FALSE(none.options.window.fullScreen);
    EXPECT_EQ(none.options.dataFolder, "");
    EXPECT_FALSE(none.options.audio.mute);
    EXPECT_FALSE(none.options.audio.volume.has_value());
    EXPECT_EQ(none.options.mouse.sensitivity, 1.0f);
    EXPECT_FALSE(none.options.mouse.invertVertical);

    const CommandLine all = parse({"--fullscreen", "--window", "16384x240", "--data=/", "--mute",
                                   "--volume=0", "--mouse-sensitivity", "0.1", "--invert-mouse"});
    ASSERT_EQ(all.action, CommandLine::Action::Play) << all.badArgument << ": " << all.problem;
    EXPECT_TRUE(all.options.window.fullScreen);
    EXPECT_EQ(all.options.window.width, 16384);
    EXPECT_EQ(all.options.window.height, 240);
    EXPECT_EQ(all.options.dataFolder, "/");
    EXPECT_TRUE(all.options.audio.mute);
    EXPECT_EQ(all.options.audio.volume, 0);
    EXPECT_EQ(all.options.mouse.sensitivity, 0.1f);
    EXPECT_TRUE(all.options.mouse.invertVertical);

    const CommandLine other =
        parse({"--window=320x16384", "--volume", "100", "--mouse-sensitivity=10", "--data", "."});
    ASSERT_EQ(other.action, CommandLine::Action::Play) << other.badArgument;
    EXPECT_EQ(other.options.window.width, 320);
    EXPECT_EQ(other.options.window.height, 16384);
    EXPECT_EQ(other.options.audio.volume, 100);
    EXPECT_EQ(other.options.mouse.sensitivity, 10.0f);

    EXPECT_EQ(parse({"--mute", "--help", "--bad"}).action, CommandLine::Action::ShowHelp);
    EXPECT_EQ(parse({"--version"}).action, CommandLine::Action::ShowVersion);
}

TEST(CommandLine, ABadArgumentIsNamedAsGivenWithWhatIsWrongWithIt) {
    const std::string file = std::string(FYREL_SOURCE_DIR) + "/README.md";
    struct Case {
        std::vector<const char*> arguments;
        std::string named;
        std::string problem;
    };
    const std::vector<Case> cases = {
        {{"--frob"}, "--frob", "there is no such option"},
        {{"-h"}, "-h", "there is no such option"},
        {{"--mute", "stray"}, "stray", "the game takes no arguments besides options"},
        {{"--volume"}, "--volume", "it needs a value: --volume N"},
        {{"--data", "--mute"}, "--data", "it needs a value: --data DIR"},
        {{"--mute=yes"}, "--mute=yes", "--mute takes no value"},
        {{"--volume", "150"}, "--volume 150", "the volume must be 0 to 100"},
        {{"--volume=-1"}, "--volume=-1", "the volume must be 0 to 100"},
        {{"--volume= 5"}, "--volume= 5", "the volume must be 0 to 100"},
        {{"--window", "319x240"},
         "--window 319x240",
         "the window size must be WIDTHxHEIGHT, from 320x240 to 16384x16384"},
        {{"--window=800x16385"},
         "--window=800x16385",
         "the window size must be WIDTHxHEIGHT, from 320x240 to 16384x16384"},
        {{"--window=800x600x2"},
         "--window=800x600x2",
         "the window size must be WIDTHxHEIGHT, from 320x240 to 16384x16384"},
        {{"--window=99999999999x600"},
         "--window=99999999999x600",
         "the window size must be WIDTHxHEIGHT, from 320x240 to 16384x16384"},
        {{"--mouse-sensitivity=0.09"},
         "--mouse-sensitivity=0.09",
         "the mouse sensitivity must be a number from 0.1 to 10"},
        {{"--mouse-sensitivity", "nan"},
         "--mouse-sensitivity nan",
         "the mouse sensitivity must be a number from 0.1 to 10"},
        {{"--mouse-sensitivity", "2x"},
         "--mouse-sensitivity 2x",
         "the mouse sensitivity must be a number from 0.1 to 10"},
        {{"--data", "/no/such/folder"},
         "--data /no/such/folder",
         "there is no folder of that name"},
        {{"--data", file.c_str()}, "--data " + file, "there is no folder of that name"},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv{"fyrel"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        const CommandLine command = parseCommandLine(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(command.action, CommandLine::Action::Refuse) << c.named;
        EXPECT_EQ(command.badArgument, c.named);
        EXPECT_EQ(command.problem, c.problem) << c.named;
    }
}

TEST(CommandLine, HelpAndVersionGoToStandardOutputABadArgumentAndTheUsageToStandardError) {
    std::ostringstream out, err;
    EXPECT_EQ(answerWithoutPlaying(parse({"--help"}), out, err), 0);
    EXPECT_EQ(out.str(), usage());
    EXPECT_EQ(err.str(), "");

    out.str("");
    EXPECT_EQ(answerWithoutPlaying(parse({"--version"}), out, err), 0);
    EXPECT_TRUE(std::regex_match(out.str(), std::regex("fyrel [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << out.str();

    out.str("");
    EXPECT_EQ(answerWithoutPlaying(parse({"--volume", "150"}), out, err), 2);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(),
              "fyrel: bad argument \"--volume 150\": the volume must be 0 to 100\n" + usage());
}

// help2man makes the manual page from --help: a usage line, then sections whose option lines
// start with two spaces and the option. The README lists the same options, with their values.
TEST(CommandLine, TheReadmeListsTheOptionsOfTheHelpInItsOrder) {
    const std::string help = usage();
    EXPECT_EQ(help.rfind("Usage: fyrel [OPTION]...\n", 0), 0u);
    for (const char* section : {"\nOptions:\n", "\nControls:\n", "\nExit status:\n"})
        EXPECT_NE(help.find(section), std::string::npos) << section;

    std::istringstream helpLines(help);
    const std::vector<std::string> inHelp =
        matches(helpLines, std::regex("^  (--[a-z-]+(?: [A-Zx]+)?)(?:  |$)"));
    std::ifstream readme(std::string(FYREL_SOURCE_DIR) + "/README.md");
    const std::vector<std::string> inReadme =
        matches(readme, std::regex("^\\| `(--[a-z-]+(?: [A-Zx]+)?)` \\|"));
    EXPECT_EQ(inHelp.size(), 9u);
    EXPECT_EQ(inReadme, inHelp);
}
