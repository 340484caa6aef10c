#include "ui/Form1Layout.h"

#include <cmath>

namespace tollen::ui {
namespace {

/// Rounds halves to the even neighbour, as the program's number conversions do.
double roundHalfEven(double value)
{
    return std::nearbyint(value);
}

} // namespace

void Form_Resize(Form1Controls &c)
{
    controls::Window &window = c.window;
    const double tx = window.twipsPerPixelX();
    const double ty = window.twipsPerPixelY();

    // The minimum size compares the inner size and sets the outer size; a real window raises the
    // resize event again, which lays the window out for the new size.
    if (window.innerWidth() < kForm1MinimumWidth) {
        window.setOuterWidth(kForm1MinimumWidth * tx);
    }
    if (window.innerHeight() < kForm1MinimumHeight) {
        window.setOuterHeight(kForm1MinimumHeight * ty);
    }
    const double width = window.innerWidth();
    const double height = window.innerHeight();

    c.Frame2.setWidth(width - 16);
    c.Frame2.setHeight(height - 217);
    c.Frame1.setWidth(c.Frame2.geometry().width - 144);
    c.ListView1.setWidth((c.Frame1.geometry().width - 18) * tx);
    c.ListView2.setWidth((c.Frame2.geometry().width - 148) * tx);
    c.List1.setWidth((c.Frame2.geometry().width - 18) * tx);
    c.List2.setHeight((c.Frame2.geometry().height - 120) * ty);
    c.ListView2.setHeight(c.List2.geometry().height);
    c.Label5.setTop((c.Frame2.geometry().height - 30) * ty);

    const double rowWidth = roundHalfEven(c.List2.geometry().width + c.ListView2.geometry().width);
    c.ProgressBar1.setTop(c.Label5.geometry().top);
    c.Label5.setWidth(0.3 * rowWidth);
    c.ProgressBar1.setLeft(c.Label5.geometry().left + c.Label5.geometry().width);
    c.ProgressBar1.setWidth(rowWidth - c.Label5.geometry().width - c.Label9.geometry().width);
    c.Label9.setTop(c.Label5.geometry().top);
    c.Label9.setLeft(rowWidth + c.Label5.geometry().left - 520);

    const double buttonWidth = roundHalfEven(c.ListView1.geometry().width / 4);
    const double left = c.ListView1.geometry().left;
    controls::Button *buttons[] = {&c.Command4, &c.Command3, &c.Command2, &c.Command1};
    for (int i = 0; i < 4; ++i) {
        buttons[i]->setLeft(left + i * buttonWidth);
    }
    for (controls::Button *button : buttons) {
        button->setWidth(buttonWidth);
    }
}

void LV_AutoSizeColumn(controls::ListView &list, std::optional<int> column)
{
    if (column) {
        list.sendSetColumnWidth(*column - 1, controls::ListView::kAutoSizeToContentsAndHeader);
    } else {
        for (int index = 1; index <= list.columnCount(); ++index) {
            list.sendSetColumnWidth(index - 1, controls::ListView::kAutoSizeToContentsAndHeader);
        }
    }
    list.refresh();
}

} // namespace tollen::ui
