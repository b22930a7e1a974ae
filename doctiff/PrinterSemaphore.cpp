#include "PrinterSemaphore.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <ctime>

namespace vestrel::doctiff {

PrinterSemaphore::~PrinterSemaphore() { Close(); }

bool PrinterSemaphore::Create(const std::string& name) {
    Close();
    sem_ = ::sem_open(name.c_str(), O_CREAT, 0666, 0);
    if (sem_ == SEM_FAILED) return false;
    // The printer may run as another user of the machine: everyone may post. Set on the
    // file rather than through umask, which would touch every thread of the host program.
    if (name.size() > 1 && name[0] == '/') ::chmod(("/dev/shm/sem." + name.substr(1)).c_str(), 0666);
    return true;
}

void PrinterSemaphore::Close() {
    if (sem_ != SEM_FAILED) ::sem_close(sem_);
    sem_ = SEM_FAILED;
}

bool PrinterSemaphore::Post() { return sem_ != SEM_FAILED && ::sem_post(sem_) == 0; }

void PrinterSemaphore::Drain() {
    if (sem_ == SEM_FAILED) return;
    while (::sem_trywait(sem_) == 0) {
    }
}

SignalWait PrinterSemaphore::Wait(int rounds, std::chrono::milliseconds round,
                                  const std::function<bool()>& giveUp) {
    if (sem_ == SEM_FAILED) return SignalWait::Failed;
    for (int i = 0; i < rounds; ++i) {
        timespec deadline{};
        ::clock_gettime(CLOCK_REALTIME, &deadline);
        const long long ns = deadline.tv_nsec + round.count() * 1000000LL;
        deadline.tv_sec += static_cast<time_t>(ns / 1000000000LL);
        deadline.tv_nsec = static_cast<long>(ns % 1000000000LL);
        int rc;
        do {
            rc = ::sem_timedwait(sem_, &deadline);
        } while (rc != 0 && errno == EINTR);
        if (rc == 0) return SignalWait::Signalled;
        if (errno != ETIMEDOUT) return SignalWait::Failed;
        if (giveUp && giveUp()) {
            // The printer may have signalled just before it ended.
            return ::sem_trywait(sem_) == 0 ? SignalWait::Signalled : SignalWait::Abandoned;
        }
    }
    return SignalWait::TimedOut;
}

}  // namespace vestrel::doctiff
