#pragma once

#include "controls/Dialogs.h"

#include <deque>
#include <functional>
#include <variant>

namespace tollen::controls {

/// Dialogs that answer from a script the test gives and record every question asked. With the
/// script used up they give the safe answer: OK, No, an empty input, a cancelled file dialog.
class HeadlessDialogs : public Dialogs
{
public:
    enum class Kind { MessageBox, InputBox, OpenFile, SaveFile };

    struct Question
    {
        Kind kind = Kind::MessageBox;
        std::string text;
        MessageButtons buttons = MessageButtons::Ok;
        /// The title shown: the given one, or the application title.
        std::string title;
        std::string defaultText;
        FileDialogRequest fileRequest;
    };

    /// A file dialog answered with this path; std::nullopt cancels it.
    struct FileAnswer
    {
        std::optional<std::string> path;
    };

    using Answer = std::variant<int, std::string, FileAnswer>;

    void script(Answer answer) { m_script.push_back(std::move(answer)); }
    const std::vector<Question> &questions() const { return m_questions; }
    void forgetQuestions() { m_questions.clear(); }

    int messageBox(const std::string &text, MessageButtons buttons,
                   const std::optional<std::string> &title) override;
    std::string inputBox(const std::string &prompt, const std::string &title,
                         const std::string &defaultText) override;
    FileDialogResult showOpen(const FileDialogRequest &request) override;
    FileDialogResult showSave(const FileDialogRequest &request) override;

    /// Called with each question as it is asked (the command-line face prints them).
    std::function<void(const Question &)> onQuestion;

private:
    template <typename T> std::optional<T> nextAnswer();
    FileDialogResult answerFileDialog(Kind kind, const FileDialogRequest &request);
    void record(Question question);

    std::deque<Answer> m_script;
    std::vector<Question> m_questions;
};

} // namespace tollen::controls
