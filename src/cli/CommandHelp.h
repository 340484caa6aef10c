#pragma once
// The help texts of tollen-cli, made from its table of commands and options.

#include "cli/CommandLine.h"

#include <string>

namespace tollen::cli {

/// The overview: usage, commands, common options, exit codes.
std::string programHelp();

/// One command's usage, description, options and exit codes.
std::string commandHelp(Command command);

/// "tollen-cli" and the version.
std::string versionText();

} // namespace tollen::cli
