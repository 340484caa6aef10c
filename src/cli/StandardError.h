#pragma once
// Standard error of tollen-cli: one-line messages, and a progress line that is drawn only when
// standard error is a terminal. Every text is made printable first, so nothing a file or a
// server sent can steer the terminal.

#include <cstdio>
#include <string>
#include <string_view>

namespace tollen::cli {

class StandardError
{
public:
    /// Writes to `stream`; `terminal` says whether it is a terminal (progress is drawn then).
    StandardError(std::FILE *stream, bool terminal);
    /// Standard error of this process.
    static StandardError &process();

    /// A line of its own; a progress line shown before is removed first.
    void message(std::string_view line);
    /// Replaces the progress line with `text`; nothing when not on a terminal.
    void progress(std::string_view text);
    /// Removes the progress line.
    void endProgress();
    bool isTerminal() const { return m_terminal; }

private:
    std::FILE *m_stream;
    bool m_terminal;
    std::string m_progress;
};

} // namespace tollen::cli
