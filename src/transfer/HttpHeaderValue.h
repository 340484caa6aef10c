#pragma once
// Named values of an HTTP response header, as the HTTP transfer control gives them.

#include <string>
#include <string_view>

namespace tollen::transfer {

/// The value of the first header line named `name` (letter case ignored) in the whole header
/// text `header`, without the spaces, tabs and line end around it (a value may be set off by
/// either); empty when absent.
std::string httpHeaderValue(std::string_view header, std::string_view name);

} // namespace tollen::transfer
