#include "controls/CheckBox.h"

namespace tollen::controls {

void CheckBox::setChecked(bool checked)
{
    m_checked = checked;
    checkedChanged();
}

} // namespace tollen::controls
