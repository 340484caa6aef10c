#include "cli/BuildReport.h"

#include <algorithm>

namespace tollen::cli {
namespace {

/// The progress line is redrawn at most this often, so drawing never slows the run.
constexpr std::chrono::milliseconds kRedrawInterval{100};
/// Clears from the cursor to the end of the terminal's line.
constexpr std::string_view kClearLine = "\r\x1b[K";

/// `text` with its control characters written out ("\x1B", "\u009B"), so a name from a package
/// can never move the cursor or recolour the terminal it is shown on.
std::string shown(std::string_view text)
{
    static constexpr std::string_view kDigits = "0123456789ABCDEF";
    std::string result;
    result.reserve(text.size());
    for (std::size_t index = 0; index < text.size(); ++index) {
        const auto byte = static_cast<unsigned char>(text[index]);
        const bool c1Control = byte == 0xC2 && index + 1 < text.size() &&
                               (static_cast<unsigned char>(text[index + 1]) & 0xE0) == 0x80;
        if (byte < 0x20 || byte == 0x7F) {
            result += "\\x";
        } else if (c1Control) {
            result += "\\u00";
            ++index;
        } else {
            result += text[index];
            continue;
        }
        const auto code = static_cast<unsigned char>(text[index]);
        result += kDigits[code >> 4];
        result += kDigits[code & 0xF];
    }
    return result;
}

bool startsCharacter(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

/// `text` cut to `width` characters, keeping its end (the end of a path says most).
std::string fitToWidth(const std::string &text, std::size_t width)
{
    const auto characters =
        static_cast<std::size_t>(std::count_if(text.begin(), text.end(), startsCharacter));
    if (characters <= width) {
        return text;
    }
    std::size_t kept = 0;
    std::size_t start = text.size();
    while (start > 0 && kept + 1 < width) {
        --start;
        if (startsCharacter(text[start])) {
            ++kept;
        }
    }
    return "…" + text.substr(start);
}

} // namespace

BuildReport::BuildReport(std::ostream &out, std::ostream &terminal, ReportOptions options)
    : m_out(out), m_terminal(terminal), m_options(options)
{
}

void BuildReport::packageStarted(std::size_t number, std::size_t total,
                                 const std::string &remotePath, bool /*fromCache*/)
{
    if (!m_options.progress) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (m_progressShown && now - m_lastDrawn < kRedrawInterval) {
        return;
    }
    m_lastDrawn = now;
    drawProgress(std::to_string(number) + "/" + std::to_string(total) + " " + shown(remotePath));
}

void BuildReport::fileSkipped(const builder::SkippedFile &skipped)
{
    if (!m_options.verbose) {
        return;
    }
    clearProgress();
    m_out << "skipped " << shown(skipped.path) << ": " << builder::describe(skipped.reason);
    if (!skipped.detail.empty()) {
        m_out << " (" << shown(skipped.detail) << ')';
    }
    m_out << '\n' << std::flush;
}

void BuildReport::idRefused(const builder::RefusedId &refused)
{
    if (!m_options.verbose) {
        return;
    }
    clearProgress();
    m_out << "refused " << shown(refused.hardwareId) << " in " << shown(refused.path) << ": "
          << database::describe(refused.reason) << '\n'
          << std::flush;
}

void BuildReport::writingTree()
{
    if (m_options.progress) {
        drawProgress("writing the index tree");
    }
}

void BuildReport::finish()
{
    clearProgress();
}

void BuildReport::drawProgress(const std::string &text)
{
    m_terminal << kClearLine << fitToWidth(text, m_options.width > 1 ? m_options.width - 1 : 1)
               << std::flush;
    m_progressShown = true;
}

void BuildReport::clearProgress()
{
    if (m_progressShown) {
        m_terminal << kClearLine << std::flush;
        m_progressShown = false;
    }
}

std::string summaryText(const builder::BuildSummary &summary)
{
    std::string text;
    const auto line = [&](std::string_view label, std::uint64_t count, std::string_view note = {}) {
        text += label;
        text += ": ";
        text += std::to_string(count);
        text += note;
        text += '\n';
    };
    line("packages", summary.packages,
         summary.packagesFromCache > 0
             ? " (" + std::to_string(summary.packagesFromCache) + " unchanged since the last run)"
             : std::string());
    line("INF files read", summary.infFilesRead);
    line("skipped", summary.skippedFiles());
    for (std::size_t reason = 0; reason < builder::kSkipReasonCount; ++reason) {
        if (summary.skipped[reason] > 0) {
            text += "  " + std::to_string(summary.skipped[reason]) + " " +
                    std::string(builder::describe(static_cast<builder::SkipReason>(reason))) + "\n";
        }
    }
    line("refused IDs", summary.refusedIds);
    line("IDs without a bus", summary.idsWithoutBus);
    line("lines", summary.lines);
    line("index files", summary.indexFiles, summary.treeUnchanged ? " (tree unchanged)" : "");
    return text;
}

} // namespace tollen::cli
