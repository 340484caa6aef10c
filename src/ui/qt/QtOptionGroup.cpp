#include "ui/qt/QtOptionGroup.h"

#include <QSignalBlocker>

namespace tollen::ui::qt {

QtOptionGroup::QtOptionGroup(Placement placement) : m_placement(placement) {}

void QtOptionGroup::setName(const QString &name)
{
    m_name = name;
    for (std::size_t index = 0; index < m_optionButtons.size(); ++index) {
        radioButton(static_cast<int>(index))
            ->setObjectName(m_name + QStringLiteral("_%1").arg(index));
    }
}

QRadioButton *QtOptionGroup::radioButton(int index) const
{
    return m_optionButtons.at(index)->widget();
}

std::unique_ptr<controls::CaptionedControl> QtOptionGroup::makeButton()
{
    auto button = std::make_unique<QtOptionButton>(m_placement);
    const int index = count();
    button->widget()->setObjectName(m_name + QStringLiteral("_%1").arg(index));
    // A click on the option already chosen changes nothing and raises nothing.
    QObject::connect(button->widget(), &QRadioButton::clicked, button->widget(), [this, index] {
        if (index == selectedIndex()) {
            return;
        }
        select(index);
        if (onClick) {
            onClick(index);
        }
    });
    m_optionButtons.push_back(button.get());
    return button;
}

void QtOptionGroup::selectionChanged()
{
    const int selected = selectedIndex();
    if (selected >= 0 && selected < static_cast<int>(m_optionButtons.size())) {
        QRadioButton *radio = radioButton(selected);
        const QSignalBlocker blocker(radio);
        radio->setChecked(true);
    }
}

} // namespace tollen::ui::qt
