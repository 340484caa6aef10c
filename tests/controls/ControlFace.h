#pragma once
// One behaviour suite for every face of the controls contract (ControlsContractSuite.cpp). Each
// test program that runs it links one face and instantiates the suite with it, named after the
// face: the face makes the controls, reads back what its screen shows and acts as a user at that
// screen would.

#include "controls/CheckBox.h"
#include "controls/Control.h"
#include "controls/ListBox.h"
#include "controls/ListView.h"
#include "controls/OptionGroup.h"
#include "controls/ProgressBar.h"
#include "controls/Services.h"
#include "controls/TextBox.h"
#include "controls/Timer.h"
#include "controls/Window.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace tollen::controls::testing {

class ControlFace
{
public:
    virtual ~ControlFace() = default;

    // Controls placed in twips inside a parent of the face's own.
    virtual std::unique_ptr<ListBox> listBox() = 0;
    virtual std::unique_ptr<ListView> listView() = 0;
    virtual std::unique_ptr<TextBox> textBox() = 0;
    virtual std::unique_ptr<OptionGroup> optionGroup() = 0;
    virtual std::unique_ptr<CheckBox> checkBox() = 0;
    virtual std::unique_ptr<Label> label() = 0;
    virtual std::unique_ptr<ProgressBar> progressBar() = 0;
    /// A timer that ticks, or null for a face without a clock.
    virtual std::unique_ptr<Timer> timer() = 0;
    /// A shown top-level window with an inner area of 300 x 200 pixels.
    virtual std::unique_ptr<Window> window() = 0;
    virtual EventLoop &eventLoop() = 0;
    /// The twips per pixel the controls are placed with.
    virtual double twipsPerPixel() = 0;

    // What the screen shows.
    virtual Geometry shownPixels(Control &control) = 0;
    virtual std::vector<std::string> shownItems(ListBox &list) = 0;
    /// The selected entry from 0, -1 for none.
    virtual int shownSelection(ListBox &list) = 0;
    virtual int shownRowCount(ListView &list) = 0;
    /// The text in a cell: row and column from 1.
    virtual std::string shownCell(ListView &list, int row, int column) = 0;
    /// The selected row from 1, 0 for none.
    virtual int shownSelectedRow(ListView &list) = 0;
    virtual bool shownFullRowSelect(ListView &list) = 0;
    virtual std::string shownText(TextBox &box) = 0;
    virtual bool shownMasked(TextBox &box) = 0;
    virtual std::string shownCaption(CaptionedControl &control) = 0;
    virtual bool shownChecked(CheckBox &box) = 0;
    virtual std::vector<bool> shownOptions(OptionGroup &group) = 0;
    /// The part of the bar filled, from 0 to 1; -1 when it shows that it is busy.
    virtual double shownProgress(ProgressBar &bar) = 0;

    // What a user does.
    virtual void userSelects(ListBox &list, int index) = 0;
    virtual void userSelectsRow(ListView &list, int row) = 0;
    /// Types the text at the end of what the box holds, one character at a time.
    virtual void userTypes(TextBox &box, const std::string &text) = 0;
    virtual void userClicks(OptionGroup &group, int index) = 0;
    virtual void userClicks(CheckBox &box) = 0;

    /// Runs the face's waiting events for about this long.
    virtual void runEvents(int milliseconds) = 0;
    /// Queues `action` to run when the face's event loop next passes over its events.
    virtual void postEvent(std::function<void()> action) = 0;
};

/// The suite's fixture: GetParam() gives the face under test, made at its first test (a Qt face
/// needs the application object, which exists only once main() runs).
class Contract : public ::testing::TestWithParam<ControlFace &(*)()>
{
protected:
    ControlFace &face = GetParam()();
};

} // namespace tollen::controls::testing
