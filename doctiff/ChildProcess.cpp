#include "ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

extern char** environ;

namespace vestrel::doctiff {

ChildProcess::~ChildProcess() {
    if (Running()) Kill();
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept { *this = std::move(other); }

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        if (Running()) Kill();
        pid_ = other.pid_;
        reaped_ = other.reaped_;
        exitCode_ = other.exitCode_;
        error_ = std::move(other.error_);
        other.pid_ = -1;
    }
    return *this;
}

bool ChildProcess::Start(const std::vector<std::string>& argv, const std::string& outputFile) {
    if (argv.empty()) {
        error_ = "nothing to start";
        return false;
    }
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    const char* out = outputFile.empty() ? "/dev/null" : outputFile.c_str();
    posix_spawn_file_actions_addopen(&actions, 1, out, O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    // A group of its own (pgid = the child's pid); default signal handling in the child even
    // when the host program ignores SIGCHLD or SIGPIPE.
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGCHLD);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGTERM);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    pid_t pid = -1;
    const int rc = argv[0].find('/') == std::string::npos
                       ? posix_spawnp(&pid, args[0], &actions, &attributes, args.data(), environ)
                       : posix_spawn(&pid, args[0], &actions, &attributes, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (rc != 0) {
        error_ = "cannot start " + argv[0] + ": " + std::strerror(rc);
        return false;
    }
    pid_ = pid;
    reaped_ = false;
    exitCode_ = -1;
    return true;
}

bool ChildProcess::Reap(bool block) {
    if (pid_ <= 0 || reaped_) return true;
    int status = 0;
    pid_t r;
    do {
        r = ::waitpid(pid_, &status, block ? 0 : WNOHANG);
    } while (r < 0 && errno == EINTR);
    if (r == 0) return false;
    reaped_ = true;
    if (r < 0) {
        // The host program reaps children itself (SIGCHLD ignored): the status is lost,
        // and the caller judges by the files the child left.
        exitCode_ = -1;
        return true;
    }
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    // Whatever the child left running in its group (an office process that outlived its
    // launcher) goes with it.
    KillGroup(SIGKILL);
    return true;
}

bool ChildProcess::Finished() { return Reap(false); }

bool ChildProcess::WaitFor(std::chrono::milliseconds limit) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + limit;
    // A process descriptor becomes readable the moment the child ends, so the wait costs
    // no polling delay; without one (old kernels) we look every few milliseconds.
    const int pidfd = pid_ > 0 && !reaped_ ? static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0)) : -1;
    auto pause = std::chrono::milliseconds(2);
    bool ended = false;
    while (!(ended = Reap(false))) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) break;
        if (pidfd >= 0) {
            pollfd p{pidfd, POLLIN, 0};
            ::poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
        } else {
            std::this_thread::sleep_for(std::min(pause, left));
            pause = std::min(pause * 2, std::chrono::milliseconds(50));
        }
    }
    if (pidfd >= 0) ::close(pidfd);
    return ended;
}

int ChildProcess::KillGroup(int signal) const {
    if (pid_ > 0 && ::kill(-pid_, signal) != 0 && errno != ESRCH) return errno;
    return 0;
}

int ChildProcess::Kill() {
    if (pid_ <= 0 || reaped_) return 0;
    int error = KillGroup(SIGTERM);
    if (!WaitFor(std::chrono::milliseconds(2000))) {
        error = KillGroup(SIGKILL);
        if (error == 0) Reap(true);
    }
    exitCode_ = -1;
    return error;
}

int RunProgram(const std::vector<std::string>& argv, std::chrono::milliseconds limit,
               std::string& error, const std::string& outputFile) {
    ChildProcess child;
    if (!child.Start(argv, outputFile)) {
        error = child.error();
        return -1;
    }
    if (!child.WaitFor(limit)) {
        child.Kill();
        error = argv[0] + " did not finish within " + std::to_string(limit.count() / 1000) + " s";
        return -1;
    }
    if (child.exitCode() != 0) error = argv[0] + " failed with exit code " + std::to_string(child.exitCode());
    return child.exitCode();
}

}  // namespace vestrel::doctiff
