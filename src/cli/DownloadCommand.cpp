// download REMOTE-PATH [-o FILE]: a package saved as the window's download flow saves it, from a
// driver row of that Remote Path.

#include "cli/ArgumentText.h"
#include "cli/Commands.h"
#include "cli/FileChecks.h"
#include "cli/Output.h"
#include "core/PathText.h"
#include "database/ResultRow.h"
#include "ui/DownloadRules.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace tollen::cli {

namespace {

namespace fs = std::filesystem;

/// Where the package goes: -o as given, or under the package's own name in the folder -o names
/// or in the current folder.
fs::path saveTarget(const std::optional<std::string> &output, const std::string &name)
{
    std::error_code ignored;
    if (!output) {
        return pathFromUtf8(name);
    }
    if (fs::is_directory(pathFromUtf8(*output), ignored)) {
        return pathFromUtf8(*output) / pathFromUtf8(name);
    }
    return pathFromUtf8(*output);
}

/// A double-click on a driver row of the path, the package saved at `target`.
Outcome download(const CommandLine &line, CommandLineWindow &window, fs::path &target)
{
    const std::string &remotePath = line.arguments.at(0);
    if (const auto problem = argumentProblem("REMOTE-PATH", remotePath, kPathLimit)) {
        return {ExitCode::Usage, *problem};
    }
    if (line.output) {
        if (const auto problem = argumentProblem("FILE", *line.output, kPathLimit)) {
            return {ExitCode::Usage, *problem};
        }
    }
    // The name the download flow would save the package under.
    const std::string name = ui::archiveName(ui::archivePath(remotePath));
    if (!ui::isUsableFileName(name)) {
        return {ExitCode::Usage, "REMOTE-PATH " + remotePath + " names no package file"};
    }
    if (Outcome opened = window.open(std::nullopt, false); opened.code != ExitCode::Success) {
        return opened;
    }
    if (Outcome network = window.applyNetwork(line.network); network.code != ExitCode::Success) {
        return network;
    }
    ui::HeadlessForm1 &controls = window.controls();
    // The row an index line of this package would give, made as the query makes its rows.
    database::IndexFields fields;
    fields[database::IndexField::RemotePath] = remotePath;
    fields[database::IndexField::Type] = database::kArchivedType;
    controls.ListView2.clear();
    controls.ListView2.selectRow(database::addResultRow(controls.ListView2, std::move(fields)));
    // Saved where the user says, not opened from the temporary folder.
    controls.Check1.setChecked(false);

    std::optional<std::string> unwritable;
    window.setSaveAnswer(
        [&](const controls::FileDialogRequest &request) -> std::optional<std::string> {
            target = saveTarget(line.output, request.initialName);
            unwritable = unwritableFileProblem(target);
            if (unwritable) {
                return std::nullopt;
            }
            return utf8FromPath(target);
        });
    // The command asked for the download the window confirms.
    window.setConfirm(true);
    window.beginAction();
    // A double-click on the row.
    const ui::DownloadOutcome downloaded = window.form().ListView2_DblClick();
    if (unwritable) {
        return {ExitCode::Unreadable, "cannot write " + utf8FromPath(target) + ": " + *unwritable};
    }
    using Kind = ui::DownloadOutcome::Kind;
    switch (downloaded.kind) {
    case Kind::Saved:
        return {};
    // A file that could not be written (read-only, a full disk) is no failed transfer.
    case Kind::NotWritable:
        return {ExitCode::Unreadable, downloaded.reason};
    default:
        break;
    }
    return {ExitCode::TransferFailed,
            "download of " + remotePath + " failed" +
                (downloaded.reason.empty() ? "" : ": " + downloaded.reason)};
}

} // namespace

Outcome runDownload(const CommandLine &line, CommandLineWindow &window, std::string &output)
{
    fs::path target;
    const Outcome outcome = download(line, window, target);
    Table record{{"Remote Path", "File", "Bytes"},
                 {{line.arguments.at(0)}},
                 {ColumnKind::Text, ColumnKind::Text, ColumnKind::Number}};
    if (outcome.code == ExitCode::Success) {
        std::error_code ignored;
        record.rows[0].push_back(utf8FromPath(target));
        record.rows[0].push_back(std::to_string(fs::file_size(target, ignored)));
    }
    output = renderRecord(line.format, record, outcome);
    return outcome;
}

} // namespace tollen::cli
