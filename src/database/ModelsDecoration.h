#pragma once
// Whether a driver row's [Models] section serves the target system. An INF lists a section per
// platform under a decoration NT[arch][.major[.minor[.producttype[.suitemask[.build]]]]]
// ("NTamd64.10.0...19041"): it serves that architecture on that Windows version or later. An
// undecorated section, and a bare "NT" with or without a version, serves x86 alone. What the
// target does not know excludes nothing: an unknown architecture, an unknown version, and always
// the product type and suite mask, though they must be numbers.

#include "inventory/TargetSystem.h"

#include <string_view>

namespace tollen::database {

enum class Applicability { Applies, DoesNotApply, Unreadable };

/// "applies", "does not apply", "unreadable decoration"
std::string_view describe(Applicability applicability);

/// Whether a [Models] section of this decoration serves the target; letter case is ignored.
Applicability decorationApplies(std::string_view decoration, const inventory::TargetSystem &target);

} // namespace tollen::database
