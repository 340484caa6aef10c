#pragma once

#include "ui/qt/WidgetControl.h"

#include <QPushButton>

namespace tollen::ui::qt {

class QtButton : public CaptionedWidget<controls::Button, QPushButton>
{
public:
    explicit QtButton(Placement placement) : CaptionedWidget(placement)
    {
        QObject::connect(widget(), &QPushButton::clicked, widget(), [this] {
            if (onClick) {
                onClick();
            }
        });
    }
};

} // namespace tollen::ui::qt
