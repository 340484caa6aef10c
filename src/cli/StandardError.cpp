#include "cli/StandardError.h"

#include "cli/PrintableText.h"
#include "cli/Terminal.h"

namespace tollen::cli {

namespace {

// Carriage return, then erase to the end of the line.
constexpr std::string_view kClearLine = "\r\x1B[K";

} // namespace

StandardError::StandardError(std::FILE *stream, bool terminal)
    : m_stream(stream), m_terminal(terminal)
{
}

StandardError &StandardError::process()
{
    static StandardError standardError(stderr, standardErrorIsTerminal());
    return standardError;
}

void StandardError::message(std::string_view line)
{
    endProgress();
    const std::string text = printable(line) + '\n';
    std::fwrite(text.data(), 1, text.size(), m_stream);
    std::fflush(m_stream);
}

void StandardError::progress(std::string_view text)
{
    if (!m_terminal) {
        return;
    }
    const std::string line = printable(text);
    if (line == m_progress) {
        return;
    }
    m_progress = line;
    const std::string drawn = std::string(kClearLine) + line;
    std::fwrite(drawn.data(), 1, drawn.size(), m_stream);
    std::fflush(m_stream);
}

void StandardError::endProgress()
{
    if (m_progress.empty()) {
        return;
    }
    m_progress.clear();
    std::fwrite(kClearLine.data(), 1, kClearLine.size(), m_stream);
    std::fflush(m_stream);
}

} // namespace tollen::cli
