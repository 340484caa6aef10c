// The events of the controls, and the headless face's own dialogs: scripted answers and the
// questions they record.

#include "controls/Dialogs.h"
#include "controls/Event.h"
#include "controls/headless/HeadlessDialogs.h"

#include <gtest/gtest.h>
#include <vector>

namespace tollen::controls {
namespace {

TEST(Event, AHandlerStaysConnectedAsLongAsItsConnection)
{
    Event<int> event;
    std::vector<int> seen;
    {
        const Connection first = event.connect([&](int value) { seen.push_back(value); });
        event(1);
        // A handler connected in its place is not taken away when the first connection ends.
        Connection second;
        {
            const Connection replaced = event.connect([&](int value) { seen.push_back(-value); });
            second = event.connect([&](int value) { seen.push_back(value * 10); });
        }
        event(2);
    }
    event(3);
    EXPECT_EQ(seen, (std::vector<int>{1, 20}));
}

TEST(MessageBox, AnswersFromTheScriptOrSafelyAndRecordsTheQuestion)
{
    HeadlessDialogs dialogs;
    dialogs.script(kAnswerYes);
    dialogs.script(kAnswerNo);
    EXPECT_EQ(dialogs.messageBox("Download driver?", MessageButtons::YesNo, std::nullopt), 6);
    EXPECT_EQ(dialogs.messageBox("Sure?", MessageButtons::YesNo, std::string("Confirm")), 7);
    ASSERT_EQ(dialogs.questions().size(), 2U);
    EXPECT_EQ(dialogs.questions()[0].title, "Tollen");
    EXPECT_EQ(dialogs.questions()[1].title, "Confirm");
    EXPECT_EQ(dialogs.questions()[1].buttons, MessageButtons::YesNo);
    // Unscripted questions get the safe answer; an answer of the wrong kind is a fault of the test.
    EXPECT_EQ(dialogs.messageBox("Error opening file", MessageButtons::Ok, "Error"), kAnswerOk);
    EXPECT_EQ(dialogs.messageBox("Overwrite?", MessageButtons::YesNo, std::nullopt), kAnswerNo);
    EXPECT_EQ(dialogs.inputBox("Enter query string", "Driver Query", ""), "");
    EXPECT_EQ(dialogs.showOpen({}).error, kCancelError);
    dialogs.script(std::string("typed text"));
    EXPECT_THROW(dialogs.messageBox("Question", MessageButtons::YesNo, std::nullopt),
                 std::logic_error);
}

TEST(FileDialog, ReturnsThePathOrTheCancelError)
{
    HeadlessDialogs dialogs;
    dialogs.script(HeadlessDialogs::FileAnswer{"/tmp/a.hwp"});
    dialogs.script(HeadlessDialogs::FileAnswer{std::nullopt});
    FileDialogRequest request{"Save as", "Profile|*.hwp", 0x80E, "", "hwp", true};
    EXPECT_EQ(dialogs.showSave(request).path, "/tmp/a.hwp");
    const FileDialogResult cancelled = dialogs.showOpen(request);
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(cancelled.error, 32755);
    EXPECT_EQ(dialogs.questions()[0].fileRequest.flags, 0x80EU);
    EXPECT_EQ(dialogs.questions()[1].kind, HeadlessDialogs::Kind::OpenFile);
}

TEST(FileDialog, FilterSplitsIntoDescriptionAndPatternPairs)
{
    const auto entries = parseFilter("Hardware Profile (*.hwp)|*.hwp|All Files (*.*)|*.*");
    ASSERT_EQ(entries.size(), 2U);
    EXPECT_EQ(entries[0].first, "Hardware Profile (*.hwp)");
    EXPECT_EQ(entries[0].second, "*.hwp");
    EXPECT_EQ(entries[1].second, "*.*");
    EXPECT_TRUE(parseFilter("").empty());
    EXPECT_EQ(parseFilter("Only a description").size(), 0U);
}

} // namespace
} // namespace tollen::controls
