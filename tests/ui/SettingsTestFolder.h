#pragma once
// Helpers of the settings tests: a folder that cannot be written even by the superuser, and the
// permission bits of a file. Each test works in a TemporaryFolder of its own (tests/support).

#include <filesystem>
#include <string>

namespace tollen::ui::test {

/// Makes an existing folder unwritable while the object lives: read-only permissions for an
/// ordinary user, the immutable attribute for the superuser (who ignores permissions).
/// isUnwritable() is false where neither works (a file system without the attribute).
class UnwritableFolder
{
public:
    explicit UnwritableFolder(std::filesystem::path folder);
    ~UnwritableFolder();
    UnwritableFolder(const UnwritableFolder &) = delete;
    UnwritableFolder &operator=(const UnwritableFolder &) = delete;

    bool isUnwritable() const;

private:
    std::filesystem::path m_folder;
    bool m_immutable = false;
};

/// The permission bits of a file or folder, 0 when it does not exist.
unsigned modeOf(const std::filesystem::path &path);

} // namespace tollen::ui::test
