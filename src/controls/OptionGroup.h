#pragma once

#include "controls/Control.h"
#include "controls/Event.h"

#include <memory>
#include <string>
#include <vector>

namespace tollen::controls {

/// A group of option buttons of which exactly one is selected, addressed by index from 0.
class OptionGroup
{
public:
    virtual ~OptionGroup() = default;
    OptionGroup() = default;
    OptionGroup(const OptionGroup &) = delete;
    OptionGroup &operator=(const OptionGroup &) = delete;

    /// Adds an option button; returns its index.
    int addOption(const std::string &caption);
    int count() const { return static_cast<int>(m_buttons.size()); }
    CaptionedControl &button(int index) { return *m_buttons.at(index); }
    int selectedIndex() const { return m_selected; }
    /// Selects without raising onClick, as the program's own assignments do.
    void select(int index);

    /// Raised with the index when the user clicks an option.
    Event<int> onClick;

protected:
    virtual void selectionChanged() {}
    virtual std::unique_ptr<CaptionedControl> makeButton() { return std::make_unique<Label>(); }

private:
    std::vector<std::unique_ptr<CaptionedControl>> m_buttons;
    int m_selected = 0;
};

} // namespace tollen::controls
