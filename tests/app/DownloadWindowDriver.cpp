// Drives the main window on a real screen as a user does, for the test of the driver download
// flow: it serves a driver database from a slowed nginx on 127.0.0.1, types its URL into the host
// box, chooses the device, ticks "Open (Don't save)", presses "Scan", double-clicks the first
// "Archived" result and answers "Download driver?" with Yes. It prints what the window showed,
// then "done", and waits to be photographed and ended.
//
//   tollen_download_window_driver DATABASE_FOLDER PROFILE DEVICE_ID

#include "ModalAnswer.h"
#include "TestServers.h"
#include "ui/Form1.h"
#include "ui/qt/QtForm1.h"
#include "ui/qt/TerminationSignals.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <iostream>

namespace {

using tollen::ui::qt::QtForm1;

/// Runs the event loop until `done` holds or `seconds` have passed.
bool waitFor(const std::function<bool()> &done, int seconds)
{
    const QDeadlineTimer deadline(std::chrono::seconds{seconds});
    while (!done() && !deadline.hasExpired()) {
        QTest::qWait(20);
    }
    return done();
}

/// The row (from 1) whose column `subItem` (0 for the first) reads `text`; 0 when none does.
int findRow(const tollen::controls::ListView &list, int subItem, const std::string &text)
{
    for (int row = 1; row <= list.rowCount(); ++row) {
        if ((subItem == 0 ? list.text(row) : list.subItem(row, subItem)) == text) {
            return row;
        }
    }
    return 0;
}

QPoint rowCentre(const tollen::ui::qt::QtListView &list, int row)
{
    QTreeView &view = *list.widget();
    view.scrollTo(view.model()->index(row - 1, 0));
    return view.visualRect(view.model()->index(row - 1, 0)).center();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::cerr << "usage: " << argv[0] << " DATABASE_FOLDER PROFILE DEVICE_ID\n";
        return 2;
    }
    QApplication application(argc, argv);
    const tollen::ui::qt::TerminationSignals closeOnTermination;
    const tollen::testing::NginxServer server(argv[1]);

    QtForm1 window;
    tollen::ui::Form1 form(window.controls(), tollen::ui::Form1Startup{argv[2], nullptr});
    if (!form.Show()) {
        std::cout << "the window did not open" << std::endl;
        return 1;
    }
    // Clicks reach the window only once the display shows it.
    if (!QTest::qWaitForWindowExposed(window.window.widget())) {
        std::cout << "the window was not shown" << std::endl;
        return 1;
    }

    QTest::mouseClick(window.Option1.radioButton(0), Qt::LeftButton);
    QTest::mouseClick(window.host.widget(), Qt::LeftButton);
    QTest::keyClick(window.host.widget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(window.host.widget(), QString::fromStdString(server.url()));

    const int device = findRow(window.ListView1, 0, argv[3]);
    if (device == 0) {
        std::cout << "no device " << argv[3] << std::endl;
        return 1;
    }
    QTest::mouseClick(window.ListView1.widget()->viewport(), Qt::LeftButton, {},
                      rowCentre(window.ListView1, device));
    QTest::mouseClick(window.Check1.widget(), Qt::LeftButton);
    QTest::mouseClick(window.Command1.widget(), Qt::LeftButton);
    // Rows come in while the query runs; the window takes clicks again once it has ended.
    waitFor(
        [&] {
            return findRow(window.ListView2, 8, "Archived") != 0 &&
                   window.window.widget()->isEnabled();
        },
        30);
    const int archived = findRow(window.ListView2, 8, "Archived");
    if (archived == 0) {
        std::cout << "no Archived result; Label5: " << window.Label5.caption() << std::endl;
        return 1;
    }
    std::cout << "Remote Path=" << window.ListView2.subItem(archived, 7) << std::endl;

    std::string question;
    tollen::ui::whenModalOpens([&](QWidget &modal) {
        auto &box = dynamic_cast<QMessageBox &>(modal);
        question = box.text().toStdString();
        box.button(QMessageBox::Yes)->click();
    });
    // A user's double click: the first click selects the row (and copies its link), the second
    // press makes it a double click.
    QTest::qWait(100);
    const QPoint archivedRow = rowCentre(window.ListView2, archived);
    QTest::mouseClick(window.ListView2.widget()->viewport(), Qt::LeftButton, {}, archivedRow);
    QTest::mouseDClick(window.ListView2.widget()->viewport(), Qt::LeftButton, {}, archivedRow);

    std::cout << "window id=" << window.window.widget()->winId() << "\nquestion=" << question
              << "\nLabel5=" << window.Label5.caption() << "\nLabel9=" << window.Label9.caption()
              << "\ndone" << std::endl;
    return QApplication::exec();
}
