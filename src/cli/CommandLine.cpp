#include "cli/CommandLine.h"

#include "cli/CommandHelp.h"
#include "cli/CommandTable.h"
#include "cli/OptionTokens.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace tollen::cli {

namespace {

/// A usage error; `helpCommand` names the command whose help the message points to.
ParsedCommandLine usageError(std::string message, const CommandEntry *helpCommand = nullptr)
{
    ParsedCommandLine parsed;
    parsed.action = ParsedCommandLine::Action::UsageError;
    parsed.text = std::move(message) + " (see 'tollen-cli " +
                  (helpCommand ? std::string(helpCommand->name) + " " : std::string()) + "--help')";
    return parsed;
}

/// The command the words name; the words after it stay in `words`.
const CommandEntry *findCommand(std::vector<std::string> &words, std::string &problem)
{
    if (words.empty()) {
        return &commandEntry(Command::Devices);
    }
    std::string name = words.front();
    words.erase(words.begin());
    if (name == "profile") {
        if (words.empty() || words.front() != "save") {
            problem = words.empty() ? "profile needs a subcommand: save"
                                    : "unknown profile subcommand " + inQuotes(words.front()) +
                                          " (profile save is the only one)";
            return nullptr;
        }
        words.erase(words.begin());
        name = "profile save";
    }
    const auto commands = commandEntries();
    const auto found = std::ranges::find(commands, name, &CommandEntry::name);
    if (found == commands.end()) {
        problem = "unknown command " + inQuotes(name);
        // Before it had commands, the program took a profile as its only argument.
        std::error_code ignored;
        if (std::filesystem::exists(name, ignored)) {
            problem += " (to list the devices of a file: tollen-cli devices FILE)";
        }
        return nullptr;
    }
    return &*found;
}

std::optional<OutputFormat> formatNamed(std::string_view name)
{
    if (name == "text") {
        return OutputFormat::Text;
    }
    if (name == "tsv") {
        return OutputFormat::Tsv;
    }
    if (name == "json") {
        return OutputFormat::Json;
    }
    return std::nullopt;
}

/// Stores an option's value in the command line; a message when it does not fit.
std::optional<std::string> apply(const GivenOption &given, CommandLine &line)
{
    switch (given.entry->option) {
    case Option::Help:
    case Option::Version:
    case Option::Quiet:
    case Option::Verbose:
    case Option::Rebuild:
        break;
    case Option::Format:
        if (const auto format = formatNamed(given.value)) {
            line.format = *format;
            break;
        }
        return "unknown format " + inQuotes(given.value) + " (text, tsv or json)";
    case Option::Yes:
        line.yes = true;
        break;
    case Option::Refine:
        line.refinements.push_back(given.value);
        break;
    case Option::Output:
        line.output = given.value;
        break;
    case Option::Continue:
        line.resume = true;
        break;
    case Option::Http:
        line.network.http = given.value;
        break;
    case Option::Ftp:
        line.network.ftp = given.value;
        break;
    case Option::BasePath:
        line.network.basePath = given.value;
        break;
    case Option::User:
        line.network.user = given.value;
        break;
    case Option::PasswordFile:
        line.network.passwordFile = given.value;
        break;
    case Option::CaFile:
        line.network.caFile = given.value;
        break;
    case Option::Missing:
        line.missing = true;
        break;
    case Option::Updates:
        line.updates = true;
        break;
    case Option::AllRows:
        line.allRows = true;
        break;
    case Option::Vendor:
        line.vendor = true;
        break;
    case Option::Arch:
        line.architecture = inventory::architectureName(given.value);
        if (!line.architecture) {
            return "unknown architecture " + inQuotes(given.value) +
                   " (x86, amd64, arm64, arm or ia64)";
        }
        break;
    case Option::Os:
        line.windowsVersion = inventory::parseWindowsVersion(given.value);
        if (!line.windowsVersion) {
            return "cannot read the version " + inQuotes(given.value) +
                   " (MAJOR.MINOR or MAJOR.MINOR.BUILD, such as 10.0.19041)";
        }
        break;
    case Option::To:
        line.to = given.value;
        break;
    case Option::All:
        line.all = true;
        break;
    case Option::Bus:
        if (given.value == "pci" || given.value == "usb") {
            line.bus = given.value == "usb" ? database::PastedBus::Usb : database::PastedBus::Pci;
            break;
        }
        return "unknown bus " + inQuotes(given.value) + " (pci or usb)";
    }
    return std::nullopt;
}

} // namespace

ParsedCommandLine parseCommandLine(std::span<const std::string> arguments)
{
    OptionTokens tokens;
    if (const auto problem = tokenize(arguments, optionEntries(), tokens)) {
        return usageError(*problem);
    }
    ParsedCommandLine parsed;
    if (tokens.has(Option::Version)) {
        parsed.action = ParsedCommandLine::Action::ShowVersion;
        parsed.text = versionText();
        return parsed;
    }
    if (tokens.has(Option::Help) && tokens.words.empty()) {
        parsed.action = ParsedCommandLine::Action::ShowHelp;
        parsed.text = programHelp();
        return parsed;
    }
    std::string problem;
    if (tokens.has(Option::Help) && tokens.words.size() == 1 && tokens.words.front() == "profile") {
        tokens.words.emplace_back("save");
    }
    const CommandEntry *command = findCommand(tokens.words, problem);
    if (!command) {
        return usageError(problem);
    }
    if (tokens.has(Option::Help)) {
        parsed.action = ParsedCommandLine::Action::ShowHelp;
        parsed.text = commandHelp(command->command);
        return parsed;
    }
    CommandLine &line = parsed.commandLine;
    line.command = command->command;
    std::vector<Option> seen;
    for (const GivenOption &given : tokens.options) {
        if (!commandTakes(*command, given.entry->option)) {
            return usageError("option " + inQuotes(given.spelling) + " does not apply to " +
                                  std::string(command->name),
                              command);
        }
        if (!given.entry->repeatable &&
            std::ranges::find(seen, given.entry->option) != seen.end()) {
            return usageError("option " + inQuotes(given.spelling) + " is given twice", command);
        }
        seen.push_back(given.entry->option);
        if (const auto bad = apply(given, line)) {
            return usageError(*bad, command);
        }
    }
    if (line.network.http && line.network.ftp) {
        return usageError("--http and --ftp cannot be given together", command);
    }
    if (tokens.words.size() < command->minimumArguments) {
        return usageError(std::string(command->name) + " needs " + std::string(command->arguments),
                          command);
    }
    if (tokens.words.size() > command->maximumArguments) {
        return usageError("too many arguments for " + std::string(command->name) + " (" +
                              std::string(command->arguments) + ")",
                          command);
    }
    line.arguments = std::move(tokens.words);
    return parsed;
}

} // namespace tollen::cli
