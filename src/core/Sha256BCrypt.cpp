#include "core/Sha256.h"

#include <algorithm>
#include <new>
#include <windows.h>
// The BCrypt header uses the types of the Windows header without including it.
#include <bcrypt.h>

namespace tollen {

// A reusable hash object: finishing it starts the next digest afresh.
struct Sha256::State
{
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;

    State()
    {
        if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM,
                                                        nullptr, BCRYPT_HASH_REUSABLE_FLAG)) ||
            !BCRYPT_SUCCESS(BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0,
                                             BCRYPT_HASH_REUSABLE_FLAG))) {
            release();
            throw std::bad_alloc();
        }
    }
    ~State() { release(); }
    State(const State &) = delete;
    State &operator=(const State &) = delete;

    void release()
    {
        if (hash != nullptr) {
            BCryptDestroyHash(hash);
        }
        if (algorithm != nullptr) {
            BCryptCloseAlgorithmProvider(algorithm, 0);
        }
    }
};

Sha256::Sha256() : m_state(std::make_unique<State>()) {}

Sha256::~Sha256() = default;

void Sha256::update(std::string_view bytes)
{
    while (!bytes.empty()) {
        const auto piece = static_cast<ULONG>(std::min<std::size_t>(bytes.size(), 1u << 30));
        BCryptHashData(m_state->hash, reinterpret_cast<PUCHAR>(const_cast<char *>(bytes.data())),
                       piece, 0);
        bytes.remove_prefix(piece);
    }
}

std::array<unsigned char, 32> Sha256::finish()
{
    std::array<unsigned char, 32> digest{};
    BCryptFinishHash(m_state->hash, digest.data(), static_cast<ULONG>(digest.size()), 0);
    return digest;
}

} // namespace tollen
