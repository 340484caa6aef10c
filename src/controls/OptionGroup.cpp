#include "controls/OptionGroup.h"

namespace tollen::controls {

int OptionGroup::addOption(const std::string &caption)
{
    m_buttons.push_back(makeButton());
    m_buttons.back()->setCaption(caption);
    selectionChanged();
    return count() - 1;
}

void OptionGroup::select(int index)
{
    if (index < 0 || index >= count()) {
        return;
    }
    m_selected = index;
    selectionChanged();
}

} // namespace tollen::controls
