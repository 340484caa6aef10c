#pragma once
// Sets or removes one environment variable for the life of the object and puts back exactly what
// was there, so a test never changes the environment of the tests after it.

#include "TestPlatform.h"
#include "core/Environment.h"

#include <optional>
#include <string>

namespace tollen::testing {

class EnvironmentOverride
{
public:
    /// std::nullopt removes the variable.
    EnvironmentOverride(std::string name, const std::optional<std::string> &value)
        : m_name(std::move(name))
    {
        m_previous = environmentVariable(m_name);
        set(value);
    }
    ~EnvironmentOverride() { set(m_previous); }
    EnvironmentOverride(const EnvironmentOverride &) = delete;
    EnvironmentOverride &operator=(const EnvironmentOverride &) = delete;

    void set(const std::optional<std::string> &value) const
    {
        setEnvironmentVariable(m_name, value);
    }

private:
    std::string m_name;
    std::optional<std::string> m_previous;
};

} // namespace tollen::testing
