#pragma once
// Programs the converter starts (LibreOffice, Ghostscript, the fax printer, the HTML
// service). Each child gets a process group of its own, so that ending it on a time-out
// ends exactly what we started (LibreOffice's launcher and its office process) and never
// another instance of the same program that the user happens to run.

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace vestrel::doctiff {

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();  // a child still running is ended with its group
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;

    // Starts argv[0] (searched in PATH when it has no '/'), standard input from /dev/null,
    // standard output and error to `outputFile` (appended) or /dev/null when empty.
    bool Start(const std::vector<std::string>& argv, const std::string& outputFile = {});
    // Waits up to `limit`; true when the child ended in time (exit code in exitCode()).
    bool WaitFor(std::chrono::milliseconds limit);
    // True when the child has ended (without waiting).
    bool Finished();
    // Ends the child's whole process group (SIGTERM, then SIGKILL) and reaps the child.
    // Returns 0, or the errno of a group that could not be signalled.
    int Kill();
    bool Running() const { return pid_ > 0 && !reaped_; }
    pid_t pid() const { return pid_; }
    // Exit code of a child that exited; -1 after a signal or when unknown.
    int exitCode() const { return exitCode_; }
    const std::string& error() const { return error_; }

private:
    bool Reap(bool block);
    int KillGroup(int signal) const;

    pid_t pid_ = -1;
    bool reaped_ = false;
    int exitCode_ = -1;
    std::string error_;
};

// Runs a program to its end or until `limit`; on a time-out its process group is ended.
// Returns the exit code, or -1 when it could not start, was killed or timed out.
int RunProgram(const std::vector<std::string>& argv, std::chrono::milliseconds limit,
               std::string& error, const std::string& outputFile = {});

}  // namespace vestrel::doctiff
