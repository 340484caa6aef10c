#pragma once
// What the tests need of the system they run on, for tests built for Linux and for Windows
// alike: private folders, environment variables, and the paths the Linux servers know.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tollen::testing {

/// A new folder of a fresh name under the temporary directory, readable by the servers the
/// tests start (which may run as another user).
std::filesystem::path makeTestFolder();

/// A folder made by makeTestFolder, removed with everything in it.
class TemporaryFolder
{
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder &) = delete;
    TemporaryFolder &operator=(const TemporaryFolder &) = delete;

    const std::filesystem::path &path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

/// Sets the variable, or removes it for nullopt, where the program reads it.
void setEnvironmentVariable(const std::string &name, const std::optional<std::string> &value);

/// True when the test runs under Wine rather than on Windows or Linux itself.
bool runningUnderWine();

/// The text with the characters this system's file names cannot hold left out: `<>:"|?*` on
/// Windows, none on Linux. Tests that serve awkward names from their own files use it.
std::string storableName(std::string_view text);

/// The name the servers started by the tests (Linux programs) know the file by.
std::string serverPath(const std::filesystem::path &path);

} // namespace tollen::testing
