// The contract suite on the headless face: what it "shows" is its state, and the user's acts go
// through the hooks a face uses to pass them on.

#include "ControlFace.h"
#include "controls/headless/HeadlessServices.h"
#include "controls/headless/HeadlessWindow.h"

#include <cmath>

namespace tollen::controls::testing {
namespace {

constexpr double kTwipsPerPixel = 15;

class UserListBox : public ListBox
{
public:
    using ListBox::acceptUserSelection;
};

class UserListView : public ListView
{
public:
    using ListView::acceptUserSelection;
};

class UserTextBox : public TextBox
{
public:
    using TextBox::acceptTypedText;
};

class HeadlessFace : public ControlFace
{
public:
    std::unique_ptr<ListBox> listBox() override { return std::make_unique<UserListBox>(); }
    std::unique_ptr<ListView> listView() override { return std::make_unique<UserListView>(); }
    std::unique_ptr<TextBox> textBox() override { return std::make_unique<UserTextBox>(); }
    std::unique_ptr<OptionGroup> optionGroup() override { return std::make_unique<OptionGroup>(); }
    std::unique_ptr<CheckBox> checkBox() override { return std::make_unique<CheckBox>(); }
    std::unique_ptr<Label> label() override { return std::make_unique<Label>(); }
    std::unique_ptr<ProgressBar> progressBar() override { return std::make_unique<ProgressBar>(); }
    std::unique_ptr<Timer> timer() override { return nullptr; }
    std::unique_ptr<Window> window() override
    {
        auto window = std::make_unique<HeadlessWindow>(300, 200, kTwipsPerPixel);
        window->show();
        return window;
    }
    EventLoop &eventLoop() override { return m_loop; }
    double twipsPerPixel() override { return kTwipsPerPixel; }

    Geometry shownPixels(Control &control) override
    {
        const Geometry &twips = control.geometry();
        const auto pixels = [](double value) {
            return static_cast<double>(std::lround(value / kTwipsPerPixel));
        };
        return {pixels(twips.left), pixels(twips.top), pixels(twips.width), pixels(twips.height)};
    }
    std::vector<std::string> shownItems(ListBox &list) override { return list.items(); }
    int shownSelection(ListBox &list) override { return list.selectedIndex(); }
    int shownRowCount(ListView &list) override { return list.rowCount(); }
    std::string shownCell(ListView &list, int row, int column) override
    {
        return column == 1 ? list.text(row) : list.subItem(row, column - 1);
    }
    int shownSelectedRow(ListView &list) override { return list.selectedRow(); }
    bool shownFullRowSelect(ListView &list) override
    {
        return (list.extendedStyle() & ListView::kFullRowSelect) != 0;
    }
    std::string shownText(TextBox &box) override { return box.text(); }
    bool shownMasked(TextBox &box) override { return box.isMasked(); }
    std::string shownCaption(CaptionedControl &control) override { return control.caption(); }
    bool shownChecked(CheckBox &box) override { return box.isChecked(); }
    std::vector<bool> shownOptions(OptionGroup &group) override
    {
        std::vector<bool> checked;
        for (int index = 0; index < group.count(); ++index) {
            checked.push_back(index == group.selectedIndex());
        }
        return checked;
    }
    double shownProgress(ProgressBar &bar) override
    {
        return bar.maximum() <= 0 ? -1 : bar.value() / bar.maximum();
    }

    void userSelects(ListBox &list, int index) override
    {
        static_cast<UserListBox &>(list).acceptUserSelection(index);
    }
    void userSelectsRow(ListView &list, int row) override
    {
        static_cast<UserListView &>(list).acceptUserSelection(row);
    }
    void userTypes(TextBox &box, const std::string &text) override
    {
        for (const char character : text) {
            static_cast<UserTextBox &>(box).acceptTypedText(box.text() + character);
        }
    }
    void userClicks(OptionGroup &group, int index) override
    {
        if (index != group.selectedIndex()) {
            group.select(index);
            if (group.onClick) {
                group.onClick(index);
            }
        }
    }
    void userClicks(CheckBox &box) override { box.setChecked(!box.isChecked()); }

    void runEvents(int /*milliseconds*/) override {}
    void postEvent(std::function<void()> action) override
    {
        m_loop.onYield = [this, action = std::move(action)]() mutable {
            // Clearing the hook ends this closure: the action is taken out of it first.
            auto run = std::move(action);
            m_loop.onYield = nullptr;
            run();
        };
    }

private:
    HeadlessEventLoop m_loop;
};

} // namespace

static ControlFace &face()
{
    static HeadlessFace face;
    return face;
}

INSTANTIATE_TEST_SUITE_P(Headless, Contract, ::testing::Values(&face));

} // namespace tollen::controls::testing
