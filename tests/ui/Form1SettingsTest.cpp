#include "TestServers.h"
#include "ui/Form1.h"
#include "ui/HeadlessForm1.h"

#include <gtest/gtest.h>

namespace tollen::ui {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryFolder;

constexpr const char *kDemoHost = "file:///usr/share/tollen/demo-db";

/// A headless main window over settings folders of the test's own.
struct Window
{
    explicit Window(const SettingsFolders &folders)
        : form(face.controls(), Form1Startup{"", nullptr, folders, kDemoHost})
    {
    }

    /// The window's protocol mode as the user sees it, checked for consistency.
    bool ftpMode() const
    {
        const bool ftp = face.Option1.selectedIndex() == 1;
        EXPECT_EQ(face.Label1.caption(), ftp ? "Host address / Port" : "Host URL");
        for (const controls::Control *ftpOnly : std::initializer_list<const controls::Control *>{
                 &face.path, &face.user, &face.pass, &face.Label2, &face.Label3}) {
            EXPECT_EQ(ftpOnly->isVisible(), ftp);
        }
        return ftp;
    }

    /// A click on an option button, as the user makes it.
    void choose(int index)
    {
        face.Option1.select(index);
        face.Option1.onClick(index);
    }

    HeadlessForm1 face;
    Form1 form;
};

class Form1Settings : public ::testing::Test
{
protected:
    Form1Settings() { fs::create_directory(m_folders.executableFolder); }
    fs::path besideProgram() const { return m_folders.executableFolder / kSettingsFileName; }

    TemporaryFolder m_folder;
    SettingsFolders m_folders{m_folder.path() / "bin", m_folder.path() / "config" / "tollen"};
};

TEST_F(Form1Settings, WhatAWindowLeavesReadsBackToTheSameWindowButCheck1StartsUnchecked)
{
    for (const int mode : {0, 1}) {
        {
            Window window(m_folders);
            ASSERT_TRUE(window.form.Show());
            window.choose(1 - mode);
            window.face.host.setText("host of the other mode");
            window.choose(mode);
            window.face.host.setText(mode == 1 ? "127.0.0.1:21" : "http://127.0.0.1/db");
            window.face.path.setText("/base path/\xc3\xa9");
            window.face.user.setText("user " + std::to_string(mode));
            window.face.pass.setText("p\"w;%");
            window.face.Check1.setChecked(true);
            window.face.window.close();
        }
        EXPECT_EQ(testing::readFile(besideProgram()).substr(0, 3), mode == 1 ? "1\r\n" : "0\r\n");
        Window again(m_folders);
        ASSERT_TRUE(again.form.Show());
        EXPECT_EQ(again.ftpMode(), mode == 1);
        EXPECT_EQ(again.face.host.text(), mode == 1 ? "127.0.0.1:21" : "http://127.0.0.1/db");
        EXPECT_EQ(mode == 1 ? again.form.HttpHost : again.form.FtpHost, "host of the other mode");
        EXPECT_EQ(again.face.path.text(), "/base path/\xc3\xa9");
        EXPECT_EQ(again.face.user.text(), "user " + std::to_string(mode));
        EXPECT_EQ(again.face.pass.text(), "p\"w;%");
        EXPECT_TRUE(again.face.pass.isMasked());
        EXPECT_FALSE(again.face.Check1.isChecked());
    }
}

TEST_F(Form1Settings, AFailedSaveIsToldOnceThenTheWindowCloses)
{
    testing::writeFile(m_folder.path() / "plain", "");
    const SettingsFolders nowhere{m_folder.path() / "plain" / "bin",
                                  m_folder.path() / "plain" / "config"};
    Window window(nowhere);
    ASSERT_TRUE(window.form.Show());
    window.face.window.close();
    window.form.Form_Unload();
    EXPECT_FALSE(window.face.window.isVisible());
    ASSERT_EQ(window.face.dialogs.questions().size(), 1U);
    const auto &box = window.face.dialogs.questions()[0];
    EXPECT_EQ(box.title, "Error");
    EXPECT_EQ(box.buttons, controls::MessageButtons::OkStop);
}

TEST_F(Form1Settings, AWindowThatNeverLoadedWritesNothing)
{
    {
        Window unloaded(m_folders);
        unloaded.face.window.close();
    }
    EXPECT_FALSE(fs::exists(besideProgram()));
}

} // namespace
} // namespace tollen::ui
