#pragma once
// Registry export files (.reg), read into and written from any RegistryStore.
//
// Read: "Windows Registry Editor Version 5.00" (UTF-16LE with a byte-order mark as exported,
// or UTF-8) and "REGEDIT4" (8-bit; UTF-8 when valid, otherwise Windows-1252). Sections
// [ROOT\path] create a key, [-ROOT\path] delete it with everything below it (a trailing
// backslash after the path is allowed; key names hold no NUL). Values: @ or "name" (with the
// escapes \\ and \") = "text" | dword:hhhhhhhh | hex:bytes | hex(N):bytes (N in hex, any
// type) | - (delete the value). Byte lists may continue over lines ending in a backslash; lines
// starting with ";" are comments. The roots are HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,
// HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA and their short forms
// HKCR, HKCU, HKLM, HKU, HKCC.
//
// String data (types 1, 2 and 7) is held in stores as UTF-8 with its NUL. A 5.00 file gives
// hex(1), hex(2) and hex(7) bytes as UTF-16LE, so they are converted on the way in and out;
// REGEDIT4 gives them as 8-bit bytes, taken as they are.
//
// Anything malformed refuses the whole file with a message that names the line; so does a key or
// value name holding a lone carriage return, which no saved file could hold on its line.

#include "core/Error.h"
#include "registry/RegistryStore.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tollen::registry {

enum class RegFormat { Version5, Regedit4 };

/// The first line of each format.
inline constexpr std::string_view kRegVersion5Header = "Windows Registry Editor Version 5.00";
inline constexpr std::string_view kRegedit4Header = "REGEDIT4";

/// One change a .reg file asks for, in file order.
struct RegEdit
{
    enum class Kind { CreateKey, DeleteKeyTree, SetValue, DeleteValue };
    Kind kind = Kind::CreateKey;
    std::size_t line = 0;
    RegistryHandle root = 0;
    std::string path;
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

/// Where the keys of a hive's own export go. hivexregedit without --prefix names each key from the
/// root of the hive file it read ("[\\ControlSet001\\Enum]"), without a registry root; such
/// names are read as keys below `path` under `root`, and refused when no mount is given.
struct HiveMount
{
    RegistryHandle root = 0;
    std::string path;
};

struct RegFileParse
{
    std::vector<RegEdit> edits;
    Error error;
};

struct RegFileText
{
    std::string bytes;
    Error error;
};

/// Parses the bytes of a .reg file.
RegFileParse parseRegFile(std::string_view bytes, const std::optional<HiveMount> &mount = {});

/// Applies parsed edits to `store` in order; the first refused edit stops and names its line.
Error applyRegEdits(const std::vector<RegEdit> &edits, RegistryStore &store);

/// The .reg file of every key below the predefined roots of `store`, each key in its own
/// section, in the store's enumeration order. 5.00 files are UTF-16LE with a byte-order mark,
/// REGEDIT4 files UTF-8; lines end in CR LF.
RegFileText writeRegFile(RegistryStore &store, RegFormat format);

} // namespace tollen::registry
