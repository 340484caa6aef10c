#pragma once
// SHA-256 digests of downloaded and indexed files, from the platform's own library (libcrypto on
// Linux, BCrypt on Windows), written as 64 lower-case hexadecimal digits. A digest is taken
// piece by piece, so a file of any size is hashed as it streams past, in fixed memory.

#include "core/Error.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace tollen {

/// The length of a digest in hexadecimal digits.
inline constexpr std::size_t kSha256HexLength = 64;

class Sha256
{
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256 &) = delete;
    Sha256 &operator=(const Sha256 &) = delete;

    void update(std::string_view bytes);
    /// The digest of every byte given; the object starts afresh after it.
    std::string finishHex();

private:
    /// The platform's part: the 32 bytes of the digest, the state started afresh.
    std::array<unsigned char, 32> finish();

    struct State;
    std::unique_ptr<State> m_state;
};

/// The digest of `bytes`.
std::string sha256Hex(std::string_view bytes);

/// Whether `text` is a digest as written here: 64 digits 0-9, a-f.
bool isSha256Hex(std::string_view text);

struct FileDigest
{
    std::string sha256;
    std::uint64_t size = 0;

    bool operator==(const FileDigest &) const = default;
};

/// Adds the bytes of the file at `file` to `hash`; `size` is their count.
Error hashFile(const std::filesystem::path &file, Sha256 &hash, std::uint64_t &size);

/// The digest and size of the file at `file`, read from start to end.
Error digestFile(const std::filesystem::path &file, FileDigest &digest);

} // namespace tollen
