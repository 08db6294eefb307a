#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Controls.h"

namespace {

CommandLine parse(std::initializer_list<const char*> arguments) {
    std::vector<const char*> argv{"fyrel"};
    argv.insert(argv.end(), arguments);
    return parseCommandLine(static_cast<int>(argv.size()), argv.data());
}

// On each line that starts with `before` and "--": the text from the "--" up to `after`.
std::vector<std::string> optionsListed(std::istream& in, const std::string& before,
                                       const std::string& after) {
    std::vector<std::string> found;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(before + "--", 0) != 0) continue;
        const size_t end = line.find(after, before.size());
        found.push_back(line.substr(before.size(), end - before.size()));
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
    const std::string window = "the window size must be WIDTHxHEIGHT, from 320x240 to 16384x16384";
    const std::string volume = "the volume must be 0 to 100";
    const std::string sensitivity = "the mouse sensitivity must be a number from 0.1 to 10";
    const std::vector<Case> cases = {
        {{"--frob"}, "--frob", "there is no such option"},
        {{"--mute", "stray"}, "stray", "the game takes no arguments besides options"},
        {{"--volume"}, "--volume", "it needs a value: --volume N"},
        {{"--data", "--mute"}, "--data", "it needs a value: --data DIR"},
        {{"--mute=yes"}, "--mute=yes", "--mute takes no value"},
        {{"--volume", "150"}, "--volume 150", volume},
        {{"--volume=-1"}, "--volume=-1", volume},
        {{"--window", "319x240"}, "--window 319x240", window},
        {{"--window=800x16385"}, "--window=800x16385", window},
        {{"--window=800x600x2"}, "--window=800x600x2", window},
        {{"--window=99999999999x600"}, "--window=99999999999x600", window},
        {{"--mouse-sensitivity=0.09"}, "--mouse-sensitivity=0.09", sensitivity},
        {{"--mouse-sensitivity", "nan"}, "--mouse-sensitivity nan", sensitivity},
        {{"--mouse-sensitivity", "2x"}, "--mouse-sensitivity 2x", sensitivity},
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

// help2man makes the manual page from --help: a usage line, then sections whose option lines
// start with two spaces and the option. The README lists the same options, with their values.
TEST(CommandLine, TheReadmeListsTheOptionsOfTheHelpInItsOrder) {
    const std::string help = usage();
    EXPECT_EQ(help.rfind("Usage: fyrel [OPTION]...\n", 0), 0u);
    for (const char* section : {"\nOptions:\n", "\nControls:\n", "\nExit status:\n"})
        EXPECT_NE(help.find(section), std::string::npos) << section;
    // A wrapped description goes on in its own column, within 79 characters.
    std::istringstream wrapped(help);
    size_t descriptionColumn = 0;
    for (std::string line; std::getline(wrapped, line);) {
        EXPECT_LE(line.size(), 79u) << line;
        const size_t text = line.find_first_not_of(' ');
        if (text == 0 || text == std::string::npos) continue;
        if (text == 2) {
            descriptionColumn = line.find_first_not_of(' ', line.find("  ", text));
        } else {
            EXPECT_EQ(text, descriptionColumn) << line;
        }
    }

    std::istringstream helpLines(help);
    const std::vector<std::string> inHelp = optionsListed(helpLines, "  ", "  ");
    std::ifstream readme(std::string(FYREL_SOURCE_DIR) + "/README.md");
    const std::vector<std::string> inReadme = optionsListed(readme, "| `", "`");
    ASSERT_FALSE(inHelp.empty());
    EXPECT_EQ(inReadme, inHelp);
    // Every option the help names is one the game takes.
    for (const std::string& listed : inHelp) {
        const std::string name = listed.substr(0, listed.find(' '));
        EXPECT_NE(parse({name.c_str()}).problem, "there is no such option") << name;
    }

    // The controls: the README's table and the help's section hold the binding table's rows,
    // in its order.
    std::vector<std::string> bound, inHelpControls, inReadmeControls;
    for (const Binding& binding : kBindings) {
        if (binding.keysLabel)
            bound.push_back(std::string(binding.keysLabel) + "|" + binding.actionLabel);
    }
    readme.clear();
    readme.seekg(0);
    bool inSection = false;
    for (std::string line; std::getline(readme, line);) {
        if (line.rfind("## ", 0) == 0) inSection = line == "## Controls";
        if (!inSection || line.rfind("| ", 0) != 0 || line.rfind("| keys", 0) == 0) continue;
        const size_t middle = line.find(" | ");
        inReadmeControls.push_back(line.substr(2, middle - 2) + "|" +
                                   line.substr(middle + 3, line.size() - middle - 5));
    }
    std::istringstream helpControls(help.substr(help.find("\nControls:\n") + 11));
    for (std::string line; std::getline(helpControls, line) && !line.empty();) {
        const size_t gap = line.find("  ", 2);
        inHelpControls.push_back(line.substr(2, gap - 2) + "|" +
                                 line.substr(line.find_first_not_of(' ', gap)));
    }
    EXPECT_EQ(inReadmeControls, bound);
    EXPECT_EQ(inHelpControls, bound);
}
