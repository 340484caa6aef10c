#pragma once
// Search criteria from a device: the bus with each "&"-separated prefix of the hardware ID,
// shortest at the top, and one entry preselected by a rule per bus.

#include "controls/ListBox.h"
#include "controls/ListView.h"

namespace tollen::inventory {

/// Rebuilds List1 from the selected row of ListView1. With no row selected List1 stays empty.
void BuildCriteria(const controls::ListView &ListView1, controls::ListBox &List1);

} // namespace tollen::inventory
