#pragma once

#include "controls/CheckBox.h"
#include "ui/qt/WidgetControl.h"

#include <QCheckBox>
#include <QSignalBlocker>

namespace tollen::ui::qt {

class QtCheckBox : public CaptionedWidget<controls::CheckBox, QCheckBox>
{
public:
    explicit QtCheckBox(Placement placement) : CaptionedWidget(placement)
    {
        QObject::connect(widget(), &QCheckBox::toggled, widget(),
                         [this](bool checked) { setChecked(checked); });
    }

protected:
    void checkedChanged() override
    {
        const QSignalBlocker blocker(widget());
        widget()->setChecked(isChecked());
    }
};

} // namespace tollen::ui::qt
