#pragma once
// The first step of reading a command line, shared by the programs that take one: the arguments
// split into words and the options of a program's table. An option is "--name VALUE",
// "--name=VALUE", "-n VALUE" or "-nVALUE" (for one with a value), "--name" or "-n" (for one
// without); "--" ends the options, so a word may begin with "-", and "-" alone is a word.

#include "cli/CommandTable.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tollen::cli {

struct GivenOption
{
    const OptionEntry *entry = nullptr;
    /// As written, for messages ("-o", "--output").
    std::string spelling;
    std::string value;
};

struct OptionTokens
{
    std::vector<std::string> words;
    /// In the order given.
    std::vector<GivenOption> options;

    /// Whether the option was given.
    bool has(Option option) const;
};

/// Splits the arguments after the program name into words and the options `table` knows; a
/// message when an option is unknown, takes no value but got one, or lacks its value.
std::optional<std::string> tokenize(std::span<const std::string> arguments,
                                    std::span<const OptionEntry> table, OptionTokens &tokens);

/// The text in single quotes, as messages name what the user typed.
std::string inQuotes(std::string_view text);

} // namespace tollen::cli
