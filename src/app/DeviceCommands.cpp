// devices and profile save: the installed-hardware list of this machine or of a file, printed or
// written as a profile.

#include "app/Commands.h"
#include "app/FileChecks.h"
#include "app/Output.h"
#include "core/PathText.h"

namespace tollen::app {

namespace {

std::optional<std::string> argument(const CommandLine &line, std::size_t index)
{
    return index < line.arguments.size() ? std::optional(line.arguments[index]) : std::nullopt;
}

} // namespace

Outcome runDevices(const CommandLine &line, CommandLineWindow &window, std::string &output)
{
    const auto source = argument(line, 0);
    if (Outcome opened = window.open(source); opened.code != ExitCode::Success) {
        return opened;
    }
    output = renderListing(line.format, {{"source", source}}, "devices",
                           tableOf(window.controls().ListView1));
    return {};
}

Outcome runProfileSave(const CommandLine &line, CommandLineWindow &window, std::string &output)
{
    const std::string file = line.arguments.at(0);
    if (const auto problem = unwritableFileProblem(pathFromUtf8(file))) {
        return {ExitCode::Unreadable, "cannot write " + file + ": " + *problem};
    }
    if (Outcome opened = window.open(argument(line, 1)); opened.code != ExitCode::Success) {
        return opened;
    }
    window.setSaveAnswer([&](const ui::FileDialogRequest &) { return file; });
    window.beginAction();
    window.controls().Command3.onClick();
    if (!window.boxes().empty()) {
        // "Save profile" has said in its box why the file could not be written.
        return {ExitCode::Unreadable, {}};
    }
    const int devices = window.controls().ListView1.rowCount();
    output = renderRecord(line.format, Table{{"File", "Devices"},
                                             {{file, std::to_string(devices)}},
                                             {ColumnKind::Text, ColumnKind::Number}});
    return {};
}

} // namespace tollen::app
