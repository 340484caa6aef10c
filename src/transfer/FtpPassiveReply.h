#pragma once
// The port of a server's answer to PASV: "227 Entering Passive Mode (h1,h2,h3,h4,p1,p2)". The
// address in it is not used: the data connection goes to the server the control connection
// goes to, so a hostile server cannot direct it at another machine.

#include <optional>
#include <string_view>

namespace tollen::transfer {

/// The port p1 * 256 + p2 of a 227 reply; nothing when the reply is not one or a number is out
/// of range.
std::optional<int> passiveReplyPort(std::string_view reply);

} // namespace tollen::transfer
