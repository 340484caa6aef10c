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

TEST(QtMessageBox, ShowsTheTextAndTitleAndAnswersWithTheProgramsCodes)
{
    using enum controls::MessageButtons;
    struct Row
    {
        controls::MessageButtons buttons;
        std::optional<std::string> title;
        QMessageBox::StandardButton pressed;
        int answer;
        QMessageBox::Icon icon;
    };
    for (const Row &row : {
             Row{YesNo, {}, QMessageBox::Yes, controls::kAnswerYes, QMessageBox::NoIcon},
             Row{YesNo, {}, QMessageBox::No, controls::kAnswerNo, QMessageBox::NoIcon},
             Row{Ok, "Error", QMessageBox::Ok, controls::kAnswerOk, QMessageBox::NoIcon},
             Row{OkStop, {}, QMessageBox::Ok, controls::kAnswerOk, QMessageBox::Critical},
         }) {
        SCOPED_TRACE(row.answer);
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
        EXPECT_EQ(qt::QtDialogs().messageBox("Download <b>driver</b>?", row.buttons, row.title),
                  row.answer);
        EXPECT_EQ(shownTitle.toStdString(), row.title.value_or("Tollen"));
        EXPECT_EQ(shownText, "Download <b>driver</b>?");
        EXPECT_EQ(shownIcon, row.icon);
    }
}

// What is typed and accepted reaches the query (QtQueryTest.cpp).
TEST(QtInputBox, CancelledGivesNothingWhateverWasTyped)
{
    whenModalOpens([](QWidget &modal) {
        auto &input = dynamic_cast<QInputDialog &>(modal);
        input.setTextValue("USB\\VID_046D");
        input.reject();
    });
    EXPECT_EQ(qt::QtDialogs().inputBox("Enter query string", "Driver Query", ""), "");
}

TEST(QtFileDialog, SaveAddsTheDefaultExtensionAndCancelGivesTheCancelError)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    qt::QtDialogs dialogs;
    const controls::FileDialogRequest request{.title = "Hardware profile",
                                              .filter = "Hardware Profile (*.hwp)|*.hwp",
                                              .initialName = "",
                                              .defaultExtension = "hwp"};
    whenModalOpens([&](QWidget &modal) {
        auto &dialog = dynamic_cast<QFileDialog &>(modal);
        dialog.setDirectory(folder.path());
        dialog.selectFile(QDir(folder.path()).filePath("office-pc"));
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    const controls::FileDialogResult saved = dialogs.showSave(request);
    EXPECT_TRUE(saved);
    EXPECT_EQ(saved.path, QDir(folder.path()).filePath("office-pc.hwp").toStdString());

    for (const bool save : {false, true}) {
        QString title;
        QFileDialog::FileMode mode = QFileDialog::Directory;
        whenModalOpens([&](QWidget &modal) {
            auto &dialog = dynamic_cast<QFileDialog &>(modal);
            title = dialog.windowTitle();
            mode = dialog.fileMode();
            dialog.reject();
        });
        const controls::FileDialogResult result =
            save ? dialogs.showSave(request) : dialogs.showOpen(request);
        EXPECT_FALSE(result);
        EXPECT_EQ(result.error, controls::kCancelError);
        EXPECT_EQ(result.path, "");
        EXPECT_EQ(title, "Hardware profile");
        EXPECT_EQ(mode, save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    }
}

TEST(QtFileDialog, FilterEntriesBecomeQtNameFilters)
{
    EXPECT_EQ(qt::toNameFilters("Hardware Profile (*.hwp)|*.hwp|All Files (*.*)|*.*"),
              QStringList({"Hardware Profile (*.hwp)", "All Files (*)"}));
    EXPECT_EQ(qt::toNameFilters("Registry files|*.reg;*.txt"),
              QStringList({"Registry files (*.reg *.txt)"}));
    EXPECT_TRUE(qt::toNameFilters("A description without a pattern").isEmpty());
}

} // namespace
} // namespace tollen::ui
