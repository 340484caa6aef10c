#include "core/Sha256.h"

#include "core/PathText.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace tollen {

std::string Sha256::finishHex()
{
    static constexpr char kHexDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(kSha256HexLength);
    for (const unsigned char byte : finish()) {
        hex += kHexDigits[byte >> 4];
        hex += kHexDigits[byte & 0x0f];
    }
    return hex;
}

std::string sha256Hex(std::string_view bytes)
{
    Sha256 digest;
    digest.update(bytes);
    return digest.finishHex();
}

bool isSha256Hex(std::string_view text)
{
    return text.size() == kSha256HexLength && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

Error hashFile(const std::filesystem::path &file, Sha256 &hash, std::uint64_t &size)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return {errno ? errno : 1,
                "cannot read " + utf8FromPath(file) + ": " + std::strerror(errno ? errno : EIO)};
    }
    std::array<char, 1 << 16> buffer{};
    size = 0;
    while (in) {
        in.read(buffer.data(), buffer.size());
        const auto got = static_cast<std::size_t>(in.gcount());
        hash.update({buffer.data(), got});
        size += got;
    }
    if (in.bad()) {
        return {EIO, "cannot read " + utf8FromPath(file)};
    }
    return {};
}

Error digestFile(const std::filesystem::path &file, FileDigest &digest)
{
    Sha256 hash;
    std::uint64_t size = 0;
    if (Error error = hashFile(file, hash, size)) {
        return error;
    }
    digest = {hash.finishHex(), size};
    return {};
}

} // namespace tollen
