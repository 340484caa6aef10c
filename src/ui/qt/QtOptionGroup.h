#pragma once

#include "controls/OptionGroup.h"
#include "ui/qt/WidgetControl.h"

#include <QRadioButton>
#include <vector>

namespace tollen::ui::qt {

/// One option button of a group, drawn as a radio button.
class QtOptionButton : public CaptionedWidget<controls::CaptionedControl, QRadioButton>
{
public:
    using CaptionedWidget::CaptionedWidget;
};

/// The option buttons of one group, all children of the same parent, so that the radio buttons
/// exclude each other as the group's single selection does.
class QtOptionGroup : public controls::OptionGroup
{
public:
    explicit QtOptionGroup(Placement placement);

    /// Names the radio buttons after the group: "Option1_0", "Option1_1", ...
    void setName(const QString &name);
    QRadioButton *radioButton(int index) const;

protected:
    std::unique_ptr<controls::CaptionedControl> makeButton() override;
    void selectionChanged() override;

private:
    Placement m_placement;
    QString m_name;
    std::vector<QtOptionButton *> m_optionButtons;
};

} // namespace tollen::ui::qt
