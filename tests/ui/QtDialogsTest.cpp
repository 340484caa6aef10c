#include "ui/qt/QtDialogs.h"

#include "ModalAnswer.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace tollen::ui {
namespace {

struct MessageBoxRow
{
    controls::MessageButtons buttons;
    QMessageBox::StandardButton pressed;
    int answer;
    QMessageBox::Icon icon;
};

class QtMessageBoxAnswers : public ::testing::TestWithParam<MessageBoxRow>
{
};

TEST_P(QtMessageBoxAnswers, GiveTheProgramsCodes)
{
    const MessageBoxRow row = GetParam();
    QString shownTitle;
    QString shownText;
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    whenModalOpens([&](QWidget &modal) {
        auto &box = dynamic_cast<QMessageBox &>(modal);
        shownTitle = box.windowTitle();
        shownText = box.text();
        shownIcon = box.icon();
        box.button(row.pressed)->click();
    });
    qt::QtDialogs dialogs;
    EXPECT_EQ(dialogs.messageBox("Download <b>driver</b>?", row.buttons, std::nullopt), row.answer);
    EXPECT_EQ(shownTitle, "Tollen");
    EXPECT_EQ(shownText, "Download <b>driver</b>?");
    EXPECT_EQ(shownIcon, row.icon);
}

/// A case's name from the buttons shown and the one pressed: "YesNo_No", "OkStop_Ok".
std::string messageBoxCaseName(const MessageBoxRow &row)
{
    const std::string shown = row.buttons == controls::MessageButtons::YesNo    ? "YesNo"
                              : row.buttons == controls::MessageButtons::OkStop ? "OkStop"
                                                                                : "Ok";
    const std::string pressed = row.pressed == QMessageBox::Yes  ? "Yes"
                                : row.pressed == QMessageBox::No ? "No"
                                                                 : "Ok";
    return shown + "_" + pressed;
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, QtMessageBoxAnswers,
    ::testing::Values(MessageBoxRow{controls::MessageButtons::YesNo, QMessageBox::Yes,
                                    controls::kAnswerYes, QMessageBox::NoIcon},
                      MessageBoxRow{controls::MessageButtons::YesNo, QMessageBox::No,
                                    controls::kAnswerNo, QMessageBox::NoIcon},
                      MessageBoxRow{controls::MessageButtons::Ok, QMessageBox::Ok,
                                    controls::kAnswerOk, QMessageBox::NoIcon},
                      MessageBoxRow{controls::MessageButtons::OkStop, QMessageBox::Ok,
                                    controls::kAnswerOk, QMessageBox::Critical}),
    [](const auto &info) { return messageBoxCaseName(info.param); });

TEST(QtMessageBox, ShowsItsOwnTitleWhenGivenOne)
{
    QString shownTitle;
    whenModalOpens([&](QWidget &modal) {
        shownTitle = modal.windowTitle();
        dynamic_cast<QMessageBox &>(modal).button(QMessageBox::Ok)->click();
    });
    qt::QtDialogs().messageBox("Error downloading file", controls::MessageButtons::Ok,
                               std::string("Error"));
    EXPECT_EQ(shownTitle, "Error");
}

TEST(QtInputBox, ReturnsTheTypedTextOrNothingWhenCancelled)
{
    qt::QtDialogs dialogs;
    whenModalOpens([](QWidget &modal) {
        auto &input = dynamic_cast<QInputDialog &>(modal);
        EXPECT_EQ(input.textValue(), "PCI\\VEN_8086");
        input.setTextValue("USB\\VID_046D");
        input.accept();
    });
    EXPECT_EQ(dialogs.inputBox("Enter query string", "Driver Query", "PCI\\VEN_8086"),
              "USB\\VID_046D");
    whenModalOpens([](QWidget &modal) { dynamic_cast<QDialog &>(modal).reject(); });
    EXPECT_EQ(dialogs.inputBox("Enter query string", "Driver Query", "typed"), "");
}

TEST(QtFileDialog, CancelGivesTheCancelError)
{
    qt::QtDialogs dialogs;
    const controls::FileDialogRequest request{"Load hardware profile",
                                              "Hardware Profile (*.hwp)|*.hwp|All Files (*.*)|*.*",
                                              controls::kHideReadOnly,
                                              "",
                                              "hwp",
                                              true};
    for (const bool save : {false, true}) {
        QString title;
        QStringList filters;
        whenModalOpens([&](QWidget &modal) {
            auto &dialog = dynamic_cast<QFileDialog &>(modal);
            title = dialog.windowTitle();
            filters = dialog.nameFilters();
            dialog.reject();
        });
        const controls::FileDialogResult result =
            save ? dialogs.showSave(request) : dialogs.showOpen(request);
        EXPECT_FALSE(result);
        EXPECT_EQ(result.error, controls::kCancelError);
        EXPECT_EQ(result.path, "");
        EXPECT_EQ(title, "Load hardware profile");
        EXPECT_EQ(filters, QStringList({"Hardware Profile (*.hwp)", "All Files (*)"}));
    }
}

TEST(QtFileDialog, SaveReturnsTheChosenPathWithTheDefaultExtension)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    whenModalOpens([&](QWidget &modal) {
        auto &dialog = dynamic_cast<QFileDialog &>(modal);
        dialog.setDirectory(folder.path());
        dialog.selectFile(QDir(folder.path()).filePath("office-pc"));
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    const controls::FileDialogResult result =
        qt::QtDialogs().showSave({"Save hardware-profile as...", "Hardware Profile (*.hwp)|*.hwp",
                                  controls::kOverwritePrompt, "", "hwp", true});
    EXPECT_TRUE(result);
    EXPECT_EQ(result.path, QDir(folder.path()).filePath("office-pc.hwp").toStdString());
}

TEST(QtFileDialog, FilterEntriesBecomeQtNameFilters)
{
    struct Row
    {
        const char *filter;
        QStringList expected;
    };
    const Row rows[] = {
        {"Hardware Profile (*.hwp)|*.hwp|All Files (*.*)|*.*",
         {"Hardware Profile (*.hwp)", "All Files (*)"}},
        {"ZIP Files (*.ZIP)|*.ZIP", {"ZIP Files (*.ZIP)"}},
        {"Registry files|*.reg;*.txt", {"Registry files (*.reg *.txt)"}},
        {"", {}},
        {"A description without a pattern", {}},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(qt::toNameFilters(row.filter), row.expected) << row.filter;
    }
}

} // namespace
} // namespace tollen::ui
