#pragma once

#include "controls/TextBox.h"
#include "ui/qt/WidgetControl.h"

#include <QLineEdit>

namespace tollen::ui::qt {

/// A one-line text box; a masked box shows every character as "*".
class QtTextBox : public WidgetControl<controls::TextBox, QLineEdit>
{
public:
    explicit QtTextBox(Placement placement);

protected:
    void textChanged() override;
    void maskedChanged() override;
};

} // namespace tollen::ui::qt
