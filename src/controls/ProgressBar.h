#pragma once

#include "controls/Control.h"

namespace tollen::controls {

class ProgressBar : public Control
{
public:
    double maximum() const { return m_maximum; }
    double value() const { return m_value; }
    /// A maximum of 0 or less cannot be shown as a fraction; the bar then shows that it is busy.
    void setMaximum(double maximum);
    void setValue(double value);

protected:
    virtual void progressChanged() {}

private:
    double m_maximum = 100;
    double m_value = 0;
};

} // namespace tollen::controls
