#pragma once
// The entries of one remote directory listing in server order, each also reachable by its name
// (letter case ignored). A name that differs from an earlier one only in letter case is kept
// in order but found by name as the earlier entry.

#include "core/TaggedValue.h"
#include "transfer/cDirItem.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tollen::transfer {

class cDirList
{
public:
    /// Attribute bits of the entries.
    static constexpr std::int32_t kReadOnly = 0x1;
    static constexpr std::int32_t kHidden = 0x2;
    static constexpr std::int32_t kSystem = 0x4;
    static constexpr std::int32_t kDirectory = 0x10;
    static constexpr std::int32_t kArchive = 0x20;
    static constexpr std::int32_t kNormal = 0x80;
    static constexpr std::int32_t kTemporary = 0x100;
    static constexpr std::int32_t kCompressed = 0x800;
    static constexpr std::int32_t kOffline = 0x1000;

    cDirItem &Add(std::int32_t lAttrib, const DateTime &dtCreationTime,
                  const DateTime &dtLastAccessTime, const DateTime &dtLastWriteTime,
                  std::int32_t lFileSize, const std::string &sFilename);
    TaggedValue Clear();
    /// The item at a position from 1 (a number) or with a name (a text); nullptr when the list
    /// has no such item.
    cDirItem *Item(const TaggedValue &Index);
    std::int32_t Count() const;

    /// In-order iteration, the list's enumerator.
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::vector<std::unique_ptr<cDirItem>> m_items;
};

} // namespace tollen::transfer
