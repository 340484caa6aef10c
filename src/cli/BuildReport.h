#pragma once
// What tollen-index shows while it runs and when it ends: a progress line on a terminal
// (packages done of total and the current package), each skipped file and refused ID with its
// reason when asked for, and a summary of the run.

#include "builder/IndexBuilder.h"

#include <chrono>
#include <ostream>
#include <string>

namespace tollen::cli {

struct ReportOptions
{
    /// Draw the progress line (only on a terminal).
    bool progress = false;
    /// List each skipped file and refused ID.
    bool verbose = false;
    /// Columns of the terminal the progress line is drawn on.
    std::size_t width = 80;
};

class BuildReport final : public builder::BuildObserver
{
public:
    /// Lists go to `out`; the progress line goes to `terminal`.
    BuildReport(std::ostream &out, std::ostream &terminal, ReportOptions options);

    void packageStarted(std::size_t number, std::size_t total, const std::string &remotePath,
                        bool fromCache) override;
    void fileSkipped(const builder::SkippedFile &skipped) override;
    void idRefused(const builder::RefusedId &refused) override;
    void writingTree() override;
    /// Clears the progress line, before the summary or an error is printed.
    void finish();

private:
    void drawProgress(const std::string &text);
    void clearProgress();

    std::ostream &m_out;
    std::ostream &m_terminal;
    ReportOptions m_options;
    bool m_progressShown = false;
    std::chrono::steady_clock::time_point m_lastDrawn;
};

/// The summary of a run: packages, INF files read, skipped files by reason, refused IDs, lines
/// and index files; one item a line.
std::string summaryText(const builder::BuildSummary &summary);

} // namespace tollen::cli
