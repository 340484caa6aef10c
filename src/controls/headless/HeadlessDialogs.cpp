#include "controls/headless/HeadlessDialogs.h"

#include <stdexcept>

namespace tollen::controls {

template <typename T> std::optional<T> HeadlessDialogs::nextAnswer()
{
    if (m_script.empty()) {
        return std::nullopt;
    }
    Answer answer = std::move(m_script.front());
    m_script.pop_front();
    if (auto *value = std::get_if<T>(&answer)) {
        return std::move(*value);
    }
    throw std::logic_error("scripted answer does not fit the question asked: " +
                           (m_questions.empty() ? std::string() : m_questions.back().text));
}

void HeadlessDialogs::record(Question question)
{
    m_questions.push_back(std::move(question));
    if (onQuestion) {
        onQuestion(m_questions.back());
    }
}

int HeadlessDialogs::messageBox(const std::string &text, MessageButtons buttons,
                                const std::optional<std::string> &title)
{
    record(Question{Kind::MessageBox, text, buttons, title.value_or(kApplicationTitle), {}, {}});
    const int safeAnswer = buttons == MessageButtons::YesNo ? kAnswerNo : kAnswerOk;
    return nextAnswer<int>().value_or(safeAnswer);
}

std::string HeadlessDialogs::inputBox(const std::string &prompt, const std::string &title,
                                      const std::string &defaultText)
{
    record(Question{Kind::InputBox, prompt, MessageButtons::Ok, title, defaultText, {}});
    return nextAnswer<std::string>().value_or(std::string());
}

FileDialogResult HeadlessDialogs::answerFileDialog(Kind kind, const FileDialogRequest &request)
{
    record(Question{kind, request.title, MessageButtons::Ok, request.title, request.initialName,
                    request});
    const auto answer = nextAnswer<FileAnswer>();
    if (!answer || !answer->path) {
        return FileDialogResult{kCancelError, {}};
    }
    return FileDialogResult{0, *answer->path};
}

FileDialogResult HeadlessDialogs::showOpen(const FileDialogRequest &request)
{
    return answerFileDialog(Kind::OpenFile, request);
}

FileDialogResult HeadlessDialogs::showSave(const FileDialogRequest &request)
{
    return answerFileDialog(Kind::SaveFile, request);
}

} // namespace tollen::controls
