#pragma once

#include "ui/qt/WidgetControl.h"

namespace tollen::ui::qt {

/// A label: its caption as plain text, never read as markup.
class QtLabel : public CaptionedWidget<controls::Label, QLabel>
{
public:
    explicit QtLabel(Placement placement) : CaptionedWidget(placement)
    {
        widget()->setTextFormat(Qt::PlainText);
    }
};

} // namespace tollen::ui::qt
