#include "core/Sha256.h"

#include <new>
#include <openssl/evp.h>

namespace tollen {

struct Sha256::State
{
    EVP_MD_CTX *context = EVP_MD_CTX_new();

    State()
    {
        if (context == nullptr || EVP_DigestInit_ex(context, EVP_sha256(), nullptr) != 1) {
            EVP_MD_CTX_free(context);
            throw std::bad_alloc();
        }
    }
    ~State() { EVP_MD_CTX_free(context); }
    State(const State &) = delete;
    State &operator=(const State &) = delete;
};

Sha256::Sha256() : m_state(std::make_unique<State>()) {}

Sha256::~Sha256() = default;

void Sha256::update(std::string_view bytes)
{
    if (!bytes.empty()) {
        EVP_DigestUpdate(m_state->context, bytes.data(), bytes.size());
    }
}

std::array<unsigned char, 32> Sha256::finish()
{
    std::array<unsigned char, 32> digest{};
    unsigned int length = 0;
    EVP_DigestFinal_ex(m_state->context, digest.data(), &length);
    EVP_DigestInit_ex(m_state->context, EVP_sha256(), nullptr);
    return digest;
}

} // namespace tollen
