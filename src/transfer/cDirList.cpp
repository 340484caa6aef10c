#include "transfer/cDirList.h"

#include "core/Text.h"

#include <algorithm>

namespace tollen::transfer {

cDirItem &cDirList::Add(std::int32_t lAttrib, const DateTime &dtCreationTime,
                        const DateTime &dtLastAccessTime, const DateTime &dtLastWriteTime,
                        std::int32_t lFileSize, const std::string &sFilename)
{
    auto item = std::make_unique<cDirItem>();
    item->ReadOnly = (lAttrib & kReadOnly) != 0;
    item->Hidden = (lAttrib & kHidden) != 0;
    item->System = (lAttrib & kSystem) != 0;
    item->Directory = (lAttrib & kDirectory) != 0;
    item->Archive = (lAttrib & kArchive) != 0;
    item->Normal = (lAttrib & kNormal) != 0;
    item->Temporary = (lAttrib & kTemporary) != 0;
    item->Compressed = (lAttrib & kCompressed) != 0;
    item->Offline = (lAttrib & kOffline) != 0;
    item->CreationTime = dtCreationTime;
    item->LastAccessTime = dtLastAccessTime;
    item->LastWriteTime = dtLastWriteTime;
    item->FileSize = lFileSize;
    item->Filename = sFilename;
    m_items.push_back(std::move(item));
    return *m_items.back();
}

TaggedValue cDirList::Clear()
{
    m_items.clear();
    return {};
}

cDirItem *cDirList::Item(const TaggedValue &Index)
{
    if (const auto *name = std::get_if<std::string>(&Index)) {
        const auto found = std::find_if(m_items.begin(), m_items.end(), [&](const auto &item) {
            return equalsIgnoringCase(item->Filename, *name);
        });
        return found != m_items.end() ? found->get() : nullptr;
    }
    std::int64_t position = 0;
    if (const auto *small = std::get_if<std::int16_t>(&Index)) {
        position = *small;
    } else if (const auto *large = std::get_if<std::int32_t>(&Index)) {
        position = *large;
    } else {
        return nullptr;
    }
    if (position < 1 || position > Count()) {
        return nullptr;
    }
    return m_items[static_cast<std::size_t>(position - 1)].get();
}

std::int32_t cDirList::Count() const
{
    return static_cast<std::int32_t>(m_items.size());
}

} // namespace tollen::transfer
