#include "ChildRun.h"

#include <chrono>
#include <fstream>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace tollen::bench {

namespace {

/// The machine's processor time since it started, in clock ticks: busy (every kind but idle and
/// waiting for the disk) and in all.
struct MachineTicks
{
    unsigned long long busy = 0;
    unsigned long long all = 0;
};

MachineTicks machineTicks()
{
    std::ifstream stat("/proc/stat");
    std::string label;
    stat >> label;
    MachineTicks ticks;
    unsigned long long value = 0;
    for (int field = 0; field < 8 && stat >> value; ++field) {
        ticks.all += value;
        // The fourth and fifth fields: idle, and waiting for the disk.
        if (field != 3 && field != 4) {
            ticks.busy += value;
        }
    }
    return ticks;
}

} // namespace

ChildRun runChild(const std::vector<std::string> &arguments)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    std::vector<char *> argv;
    for (const auto &argument : arguments) {
        argv.push_back(const_cast<char *>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const MachineTicks before = machineTicks();
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    ChildRun run;
    char buffer[256];
    ssize_t count = 0;
    while ((count = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0) {
        run.output.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(pipeEnds[0]);
    if (failed != 0) {
        return run;
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    run.wallSeconds = wall.count();
    run.peakKilobytes = usage.ru_maxrss;
    const MachineTicks after = machineTicks();
    if (after.all > before.all) {
        run.busyCores = static_cast<double>(after.busy - before.busy) /
                        static_cast<double>(after.all - before.all) *
                        static_cast<double>(::sysconf(_SC_NPROCESSORS_ONLN));
    }
    const auto seconds = [](const timeval &time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    run.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

} // namespace tollen::bench
