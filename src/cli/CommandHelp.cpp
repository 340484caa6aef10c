#include "cli/CommandHelp.h"

#include "cli/CommandTable.h"

#include <algorithm>

namespace tollen::cli {

namespace {

constexpr std::size_t kWidth = 80;
constexpr std::size_t kOptionColumn = 26;

constexpr std::string_view kSourceNote =
    "SOURCE is a hardware profile (.hwp), a registry export (.reg) or an offline SYSTEM hive, "
    "recognised by its content; without it, this machine's devices are used.";

constexpr std::string_view kSettingsNote =
    "The database is the one of the Tollen window's settings file (sorrel.ini beside the "
    "program, else $XDG_CONFIG_HOME/tollen/); the network options replace it for one run and "
    "nothing is written back.";

constexpr std::string_view kExitCodes =
    "Exit codes:\n"
    "  0  success (match: every device shown has a driver that fits)\n"
    "  1  usage error\n"
    "  2  a source or file could not be read, or an output "
    "file could not be written\n"
    "  3  nothing found\n"
    "  4  a transfer failed\n"
    "  5  match: drivers fit some of the devices shown only\n";

/// `text` broken into lines of at most kWidth characters, each after `indent` spaces; the first
/// line continues what is already on the line when `firstIndent` is smaller.
std::string wrap(std::string_view text, std::size_t indent, std::size_t firstIndent)
{
    std::string result;
    std::size_t column = firstIndent;
    bool lineEmpty = true;
    while (!text.empty()) {
        const auto space = text.find(' ');
        const std::string_view word = text.substr(0, space);
        text = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
        if (!lineEmpty && column + 1 + word.size() > kWidth) {
            result += '\n';
            result.append(indent, ' ');
            column = indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            result += ' ';
            ++column;
        }
        result += word;
        column += word.size();
        lineEmpty = false;
    }
    return result + '\n';
}

std::string optionLine(const OptionEntry &entry)
{
    std::string left = "  ";
    left += entry.shortName != 0 ? std::string{'-', entry.shortName, ',', ' '} : "    ";
    left += "--";
    left += entry.longName;
    if (!entry.valueName.empty()) {
        left += ' ';
        left += entry.valueName;
    }
    if (left.size() + 1 >= kOptionColumn) {
        return left + '\n' + std::string(kOptionColumn, ' ') +
               wrap(entry.help, kOptionColumn, kOptionColumn);
    }
    return left + std::string(kOptionColumn - left.size(), ' ') +
           wrap(entry.help, kOptionColumn, kOptionColumn);
}

std::string usage(const CommandEntry &command)
{
    std::string line = "Usage: tollen-cli ";
    line += command.name;
    if (!command.arguments.empty()) {
        line += ' ';
        line += command.arguments;
    }
    return line + " [OPTIONS]\n";
}

} // namespace

std::string programHelp()
{
    std::string text = "Usage: tollen-cli [COMMAND] [ARGUMENTS] [OPTIONS]\n\n";
    text += wrap("Finds drivers for the hardware of a PC from a terminal or a script, with the "
                 "routines of the Tollen window. Without a command it lists this machine's "
                 "devices.",
                 0, 0);
    text += "\nCommands:\n";
    auto usageOf = [](const CommandEntry &command) {
        return "  " + std::string(command.name) + ' ' + std::string(command.arguments);
    };
    std::size_t column = 0;
    for (const CommandEntry &command : commandEntries()) {
        column = std::max(column, usageOf(command).size() + 2);
    }
    for (const CommandEntry &command : commandEntries()) {
        std::string left = usageOf(command);
        left.resize(column, ' ');
        text += left + wrap(command.summary, column, column);
    }
    text += '\n' + wrap(kSourceNote, 0, 0);
    text += "\nOptions of every command:\n";
    for (const Option option : {Option::Help, Option::Version, Option::Format}) {
        text += optionLine(optionEntry(option));
    }
    text += '\n';
    text += kExitCodes;
    text += "\nRun 'tollen-cli COMMAND --help' for a command's arguments and options.\n";
    return text;
}

std::string commandHelp(Command command)
{
    const CommandEntry &entry = commandEntry(command);
    std::string text = usage(entry) + '\n' + wrap(entry.description, 0, 0);
    if (entry.arguments.find("SOURCE") != std::string_view::npos) {
        text += '\n' + wrap(kSourceNote, 0, 0);
    }
    if (commandTakes(entry, Option::Http)) {
        text += '\n' + wrap(kSettingsNote, 0, 0);
    }
    text += "\nOptions:\n";
    for (const OptionEntry &option : optionEntries()) {
        if (commandTakes(entry, option.option)) {
            text += optionLine(option);
        }
    }
    text += '\n';
    text += kExitCodes;
    return text;
}

std::string versionText()
{
    return std::string("tollen-cli ") + TOLLEN_VERSION + '\n';
}

} // namespace tollen::cli
