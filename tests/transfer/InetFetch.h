#pragma once
// What the tests of the HTTP control share: a ranged GET waited for as the main window waits,
// and the body read in pieces.

#include "transfer/Inet.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tollen::transfer {

inline void get(Inet &inet, const std::string &url)
{
    inet.setURL(url);
    ASSERT_FALSE(inet.Execute("GET", "Range: bytes=0-\r\n"));
    while (inet.StillExecuting()) {
    }
}

/// Appends the body to `body`; the sizes of the pieces of 1024 bytes asked for, the last empty.
inline std::vector<std::size_t> chunkSizes(Inet &inet, std::string &body)
{
    std::vector<std::size_t> sizes;
    for (ByteArray piece = inet.GetChunk(1024);; piece = inet.GetChunk(1024)) {
        sizes.push_back(piece.size());
        body.append(piece.begin(), piece.end());
        if (piece.empty()) {
            return sizes;
        }
    }
}

} // namespace tollen::transfer
