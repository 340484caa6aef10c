#pragma once
// Sets or removes one environment variable for the life of the object and puts back exactly what
// was there, so a test never changes the environment of the tests after it.

#include <cstdlib>
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
        if (const char *previous = std::getenv(m_name.c_str())) {
            m_previous = previous;
        }
        set(value);
    }
    ~EnvironmentOverride() { set(m_previous); }
    EnvironmentOverride(const EnvironmentOverride &) = delete;
    EnvironmentOverride &operator=(const EnvironmentOverride &) = delete;

    void set(const std::optional<std::string> &value) const
    {
        if (value) {
            ::setenv(m_name.c_str(), value->c_str(), 1);
        } else {
            ::unsetenv(m_name.c_str());
        }
    }

private:
    std::string m_name;
    std::optional<std::string> m_previous;
};

} // namespace tollen::testing
