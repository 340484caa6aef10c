#include "cli/OptionTokens.h"

#include <algorithm>

namespace tollen::cli {
namespace {

const OptionEntry *findLong(std::span<const OptionEntry> table, std::string_view name)
{
    const auto found = std::ranges::find(table, name, &OptionEntry::longName);
    return found == table.end() ? nullptr : &*found;
}

const OptionEntry *findShort(std::span<const OptionEntry> table, char name)
{
    const auto found = std::ranges::find(table, name, &OptionEntry::shortName);
    return found == table.end() || name == 0 ? nullptr : &*found;
}

} // namespace

bool OptionTokens::has(Option option) const
{
    return std::ranges::any_of(
        options, [&](const GivenOption &given) { return given.entry->option == option; });
}

std::string inQuotes(std::string_view text)
{
    return "'" + std::string(text) + "'";
}

std::optional<std::string> tokenize(std::span<const std::string> arguments,
                                    std::span<const OptionEntry> table, OptionTokens &tokens)
{
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        const bool isOption = !optionsEnded && argument.size() > 1 && argument[0] == '-';
        if (!isOption) {
            tokens.words.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        GivenOption given;
        std::optional<std::string> attached;
        if (argument[1] == '-') {
            const auto equals = argument.find('=');
            given.spelling = argument.substr(0, equals);
            given.entry = findLong(table, std::string_view(given.spelling).substr(2));
            if (equals != std::string::npos) {
                attached = argument.substr(equals + 1);
            }
        } else {
            given.spelling = argument.substr(0, 2);
            given.entry = findShort(table, argument[1]);
            if (argument.size() > 2) {
                attached = argument.substr(2);
            }
        }
        if (!given.entry) {
            return "unknown option " + inQuotes(given.spelling);
        }
        if (given.entry->valueName.empty()) {
            if (attached) {
                return "option " + inQuotes(given.spelling) + " takes no value";
            }
        } else if (attached) {
            given.value = *attached;
        } else if (i + 1 < arguments.size()) {
            given.value = arguments[++i];
        } else {
            return "option " + inQuotes(given.spelling) + " needs a value (" +
                   std::string(given.entry->valueName) + ")";
        }
        tokens.options.push_back(std::move(given));
    }
    return std::nullopt;
}

} // namespace tollen::cli
