#pragma once
// One entry of a remote directory listing: a plain record, as the listing fills it.

#include "core/TaggedValue.h"

#include <cstdint>
#include <string>

namespace tollen::transfer {

struct cDirItem
{
    bool ReadOnly = false;
    bool Hidden = false;
    bool System = false;
    bool Directory = false;
    bool Archive = false;
    bool Normal = false;
    bool Temporary = false;
    bool Compressed = false;
    bool Offline = false;
    DateTime CreationTime;
    DateTime LastAccessTime;
    DateTime LastWriteTime;
    /// Bytes; files of 2 GiB and more show the largest 32-bit value.
    std::int32_t FileSize = 0;
    std::string Filename;
};

} // namespace tollen::transfer
