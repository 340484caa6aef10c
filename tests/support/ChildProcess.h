#pragma once
// A program the tests start: its own environment and working folder, its output in files, ended
// by the destructor if the test did not wait for it.

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tollen::testing {

struct ChildOptions
{
    std::vector<std::string> arguments;
    /// Variables set for the child; a variable mapped to std::nullopt is removed.
    std::map<std::string, std::optional<std::string>> environment;
    std::filesystem::path workingFolder;
    /// Standard output and error go here (both to /dev/null when empty).
    std::filesystem::path outputFile;
    std::filesystem::path errorFile;
};

class ChildProcess
{
public:
    explicit ChildProcess(const ChildOptions &options);
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    bool started() const { return m_pid > 0; }
    pid_t pid() const { return m_pid; }
    /// Sends a signal (SIGTERM by default).
    void signal(int number) const;
    /// The exit code, -(signal) for a killed child, std::nullopt when it is still running.
    std::optional<int> wait(std::chrono::milliseconds timeout);

private:
    pid_t m_pid = -1;
    std::optional<int> m_status;
};

/// Starts a program as ChildProcess does and leaves it to the caller to end and reap: its process
/// ID, -1 when it could not be started.
pid_t startChild(const ChildOptions &options);

/// Runs a program to its end (at most `timeout`) and returns its exit code.
std::optional<int> runToEnd(const ChildOptions &options, std::chrono::milliseconds timeout);

} // namespace tollen::testing
