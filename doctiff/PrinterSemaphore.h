#pragma once
// The named POSIX semaphore through which the fax printer says "the printed file is
// complete". Created with count 0 by the converter; the printer posts it once per job.

#include <semaphore.h>

#include <chrono>
#include <functional>
#include <string>

namespace vestrel::doctiff {

enum class SignalWait { Signalled, TimedOut, Abandoned, Failed };

class PrinterSemaphore {
public:
    ~PrinterSemaphore();
    bool Create(const std::string& name);  // creates or opens it
    void Close();
    bool IsOpen() const { return sem_ != SEM_FAILED; }
    bool Post();
    // Throws away signals left by an earlier job that nobody waited for.
    void Drain();
    // Waits in rounds of `round`, at most `rounds` of them. Between rounds `giveUp` is asked
    // whether waiting still makes sense (the printer has ended without signalling);
    // a true answer gives Abandoned.
    SignalWait Wait(int rounds, std::chrono::milliseconds round, const std::function<bool()>& giveUp);

private:
    sem_t* sem_ = SEM_FAILED;
};

}  // namespace vestrel::doctiff
