#include "ChildProcess.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace tollen::testing {
namespace {

std::vector<std::string> childEnvironment(const ChildOptions &options)
{
    std::vector<std::string> entries;
    for (char **entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        if (options.environment.count(name) == 0) {
            entries.push_back(text);
        }
    }
    for (const auto &[name, value] : options.environment) {
        if (value) {
            entries.push_back(name + "=" + *value);
        }
    }
    return entries;
}

std::vector<char *> pointersTo(std::vector<std::string> &texts)
{
    std::vector<char *> pointers;
    for (std::string &text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

void redirect(posix_spawn_file_actions_t &actions, int descriptor,
              const std::filesystem::path &file)
{
    const std::string target = file.empty() ? std::string("/dev/null") : file.string();
    posix_spawn_file_actions_addopen(&actions, descriptor, target.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
}

} // namespace

pid_t startChild(const ChildOptions &options)
{
    std::vector<std::string> arguments = options.arguments;
    std::vector<std::string> environment = childEnvironment(options);
    std::vector<char *> argv = pointersTo(arguments);
    std::vector<char *> envp = pointersTo(environment);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    redirect(actions, 1, options.outputFile);
    redirect(actions, 2, options.errorFile);
    if (!options.workingFolder.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, options.workingFolder.c_str());
    }
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // Its own process group, so that ending it ends whatever it started as well.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), envp.data()) != 0) {
        pid = -1;
    }
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

ChildProcess::ChildProcess(const ChildOptions &options) : m_pid(startChild(options)) {}

ChildProcess::~ChildProcess()
{
    if (m_pid > 0 && !m_status) {
        ::kill(-m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
}

void ChildProcess::signal(int number) const
{
    if (m_pid > 0 && !m_status) {
        ::kill(m_pid, number);
    }
}

std::optional<int> ChildProcess::wait(std::chrono::milliseconds timeout)
{
    if (m_status || m_pid <= 0) {
        return m_status;
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_status = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
            return m_status;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

std::optional<int> runToEnd(const ChildOptions &options, std::chrono::milliseconds timeout)
{
    ChildProcess child(options);
    return child.wait(timeout);
}

} // namespace tollen::testing
