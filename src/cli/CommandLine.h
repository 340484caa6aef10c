#pragma once
// tollen-cli's command line: a command (one word, or "profile save"), its arguments and options.
// Options may stand before or after the command, as "--name VALUE", "--name=VALUE" or "-o VALUE";
// "--" ends the options, so an argument may begin with "-". Each command accepts its own set of
// options; the table of commands and options also gives the help texts.

#include "database/PastedId.h"
#include "inventory/TargetSystem.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tollen::cli {

enum class Command { Devices, ProfileSave, Criteria, Search, Match, Download, Fetch, Info };

enum class OutputFormat { Text, Tsv, Json };

/// Network settings given for one run in place of those of the settings file.
struct NetworkOverrides
{
    std::optional<std::string> http;
    std::optional<std::string> ftp;
    std::optional<std::string> basePath;
    std::optional<std::string> user;
    std::optional<std::string> passwordFile;
    /// Certificate authorities to trust instead of the system's.
    std::optional<std::string> caFile;
};

struct CommandLine
{
    Command command = Command::Devices;
    /// The command's arguments in their order.
    std::vector<std::string> arguments;
    OutputFormat format = OutputFormat::Text;
    /// Answers Yes to the question before a large index is fetched.
    bool yes = false;
    /// search: refinement entries, applied in their order.
    std::vector<std::string> refinements;
    /// download: where the package is saved.
    std::optional<std::string> output;
    /// download: continue an interrupted download from its partial file.
    bool resume = false;
    NetworkOverrides network;
    /// match: only the devices without a working driver, and (or) those with a newer driver.
    bool missing = false;
    bool updates = false;
    /// fetch: the folder the packages go to, and whether every device's driver is fetched.
    std::optional<std::string> to;
    bool all = false;
    /// match: every matching row, and the vendor's other rows.
    bool allRows = false;
    bool vendor = false;
    /// match: the target system given in place of the source's.
    std::optional<std::string> architecture;
    std::optional<inventory::WindowsVersion> windowsVersion;
    /// The bus of an ID given in lspci's form.
    database::PastedBus bus = database::PastedBus::Pci;
};

struct ParsedCommandLine
{
    enum class Action { Run, ShowHelp, ShowVersion, UsageError };
    Action action = Action::Run;
    CommandLine commandLine;
    /// The help text to print, or the usage error's message.
    std::string text;
};

/// Reads the arguments after the program name. No arguments lists this machine's devices.
ParsedCommandLine parseCommandLine(std::span<const std::string> arguments);

/// The name a command is called by ("devices", "profile save" ...).
std::string_view commandName(Command command);

} // namespace tollen::cli
