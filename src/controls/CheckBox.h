#pragma once

#include "controls/Control.h"

namespace tollen::controls {

class CheckBox : public CaptionedControl
{
public:
    bool isChecked() const { return m_checked; }
    void setChecked(bool checked);

protected:
    virtual void checkedChanged() {}

private:
    bool m_checked = false;
};

} // namespace tollen::controls
