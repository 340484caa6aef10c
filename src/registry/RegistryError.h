#pragma once
// The error cRegistry raises: a number, a source (the executable's base name followed by
// ".cRegistry") and a description, as callers of the class expect to see them.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tollen::registry {

class RegistryError : public std::runtime_error
{
public:
    RegistryError(std::int32_t number, std::string source, std::string description)
        : std::runtime_error(description), m_number(number), m_source(std::move(source)),
          m_description(std::move(description))
    {
    }

    std::int32_t number() const { return m_number; }
    const std::string &source() const { return m_source; }
    const std::string &description() const { return m_description; }

private:
    std::int32_t m_number;
    std::string m_source;
    std::string m_description;
};

} // namespace tollen::registry
