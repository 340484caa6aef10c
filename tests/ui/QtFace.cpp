// The contract suite on the Qt face: the widgets show the controls, and the user's acts are the
// widgets' own (clicks, typed keys, a changed current row).

#include "../controls/ControlFace.h"
#include "ui/qt/QtCheckBox.h"
#include "ui/qt/QtLabel.h"
#include "ui/qt/QtListBox.h"
#include "ui/qt/QtListView.h"
#include "ui/qt/QtOptionGroup.h"
#include "ui/qt/QtProgressBar.h"
#include "ui/qt/QtServices.h"
#include "ui/qt/QtTextBox.h"
#include "ui/qt/QtTimer.h"
#include "ui/qt/QtWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

namespace tollen::controls::testing {
namespace {

using ui::qt::Placement;
using ui::qt::QtCheckBox;
using ui::qt::QtEventLoop;
using ui::qt::QtLabel;
using ui::qt::QtListBox;
using ui::qt::QtListView;
using ui::qt::QtOptionGroup;
using ui::qt::QtProgressBar;
using ui::qt::QtTextBox;
using ui::qt::QtTimer;
using ui::qt::QtWindow;

class QtFace : public ControlFace
{
public:
    QtFace() { m_parent.resize(800, 600); }

    std::unique_ptr<ListBox> listBox() override
    {
        auto list = std::make_unique<QtListBox>(placement());
        list->setGeometry({0, 0, 3000, 1500});
        return list;
    }
    std::unique_ptr<ListView> listView() override
    {
        auto list = std::make_unique<QtListView>(placement());
        list->setGeometry({0, 0, 6000, 3000});
        return list;
    }
    std::unique_ptr<TextBox> textBox() override { return std::make_unique<QtTextBox>(placement()); }
    std::unique_ptr<OptionGroup> optionGroup() override
    {
        return std::make_unique<QtOptionGroup>(placement());
    }
    std::unique_ptr<CheckBox> checkBox() override
    {
        return std::make_unique<QtCheckBox>(placement());
    }
    std::unique_ptr<Label> label() override { return std::make_unique<QtLabel>(placement()); }
    std::unique_ptr<ProgressBar> progressBar() override
    {
        return std::make_unique<QtProgressBar>(placement());
    }
    std::unique_ptr<Timer> timer() override { return std::make_unique<QtTimer>(); }
    std::unique_ptr<Window> window() override
    {
        auto window = std::make_unique<QtWindow>();
        window->setInnerSize(300, 200);
        window->show();
        QCoreApplication::processEvents();
        return window;
    }
    EventLoop &eventLoop() override { return m_loop; }
    double twipsPerPixel() override { return kTwips.x; }

    Geometry shownPixels(Control &control) override
    {
        const QRect shown = widgetOf(control)->geometry();
        return {static_cast<double>(shown.x()), static_cast<double>(shown.y()),
                static_cast<double>(shown.width()), static_cast<double>(shown.height())};
    }
    std::vector<std::string> shownItems(ListBox &list) override
    {
        QCoreApplication::processEvents();
        const QListWidget *widget = qt(list).widget();
        std::vector<std::string> texts;
        for (int row = 0; row < widget->count(); ++row) {
            texts.push_back(widget->item(row)->text().toStdString());
        }
        return texts;
    }
    int shownSelection(ListBox &list) override
    {
        QCoreApplication::processEvents();
        return qt(list).widget()->currentRow();
    }
    int shownRowCount(ListView &list) override
    {
        QCoreApplication::processEvents();
        return qt(list).model().rowCount();
    }
    std::string shownCell(ListView &list, int row, int column) override
    {
        QCoreApplication::processEvents();
        return qt(list).model().index(row - 1, column - 1).data().toString().toStdString();
    }
    int shownSelectedRow(ListView &list) override
    {
        QCoreApplication::processEvents();
        const QModelIndex current = qt(list).widget()->currentIndex();
        return current.isValid() ? current.row() + 1 : 0;
    }
    bool shownFullRowSelect(ListView &list) override
    {
        return qt(list).widget()->selectionBehavior() == QAbstractItemView::SelectRows;
    }
    std::string shownText(TextBox &box) override { return qt(box).widget()->text().toStdString(); }
    bool shownMasked(TextBox &box) override
    {
        return qt(box).widget()->echoMode() == QLineEdit::Password;
    }
    std::string shownCaption(CaptionedControl &control) override
    {
        if (auto *label = dynamic_cast<QtLabel *>(&control)) {
            return label->widget()->text().toStdString();
        }
        return dynamic_cast<QtCheckBox &>(control).widget()->text().toStdString();
    }
    bool shownChecked(CheckBox &box) override
    {
        return dynamic_cast<QtCheckBox &>(box).widget()->isChecked();
    }
    std::vector<bool> shownOptions(OptionGroup &group) override
    {
        std::vector<bool> checked;
        for (int index = 0; index < group.count(); ++index) {
            checked.push_back(dynamic_cast<QtOptionGroup &>(group).radioButton(index)->isChecked());
        }
        return checked;
    }
    double shownProgress(ProgressBar &bar) override
    {
        const QProgressBar *widget = dynamic_cast<QtProgressBar &>(bar).widget();
        if (widget->maximum() == 0) {
            return -1;
        }
        return static_cast<double>(widget->value()) / widget->maximum();
    }

    void userSelects(ListBox &list, int index) override
    {
        QCoreApplication::processEvents();
        qt(list).widget()->setCurrentRow(index);
    }
    void userSelectsRow(ListView &list, int row) override
    {
        QCoreApplication::processEvents();
        qt(list).widget()->setCurrentIndex(qt(list).model().index(row - 1, 0));
    }
    void userTypes(TextBox &box, const std::string &text) override
    {
        QLineEdit *widget = qt(box).widget();
        widget->end(false);
        QTest::keyClicks(widget, QString::fromStdString(text));
    }
    void userClicks(OptionGroup &group, int index) override
    {
        dynamic_cast<QtOptionGroup &>(group).radioButton(index)->click();
    }
    void userClicks(CheckBox &box) override { dynamic_cast<QtCheckBox &>(box).widget()->click(); }

    void runEvents(int milliseconds) override
    {
        QElapsedTimer clock;
        clock.start();
        do {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        } while (clock.elapsed() < milliseconds);
    }
    void postEvent(std::function<void()> action) override
    {
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(action),
                                  Qt::QueuedConnection);
    }

private:
    static constexpr PixelScale kTwips{15, 15};

    Placement placement() { return {&m_parent, kTwips}; }
    static QtListBox &qt(ListBox &list) { return dynamic_cast<QtListBox &>(list); }
    static QtListView &qt(ListView &list) { return dynamic_cast<QtListView &>(list); }
    static QtTextBox &qt(TextBox &box) { return dynamic_cast<QtTextBox &>(box); }
    static const QWidget *widgetOf(Control &control)
    {
        if (auto *label = dynamic_cast<QtLabel *>(&control)) {
            return label->widget();
        }
        return dynamic_cast<QtListBox &>(control).widget();
    }

    QWidget m_parent;
    QtEventLoop m_loop;
};

} // namespace

static ControlFace &face()
{
    static QtFace face;
    return face;
}

INSTANTIATE_TEST_SUITE_P(Qt, Contract, ::testing::Values(&face));

} // namespace tollen::controls::testing
