#pragma once
// The fixed scratch files of the converter, all in $TOLVY_ROOT (default /tmp), and the
// lock that keeps two converting processes from using them at the same time.

#include <chrono>
#include <string>

namespace vestrel::doctiff::scratch {

std::string PrintedTiff();    // "tempTolvy.tif": what the fax printer delivers
std::string PieceTiff();      // "tempswaptif.tif": the current piece before it is appended
std::string SwapTiff();       // "tempswap.tif": normalisation output of the TIFF adapter
std::string RotatedTiff();    // "temprotate.tif": a landscape source turned upright
std::string HtmlLog();        // "Html2TifLog.txt"
std::string LockFile();       // "Doc2Tif.lock"
// The printer's semaphore. Conversions in the default folder use the name the printer
// has always posted; another $TOLVY_ROOT gets a name of its own, so that a test or a
// second user with their own folder never takes the other's signal.
std::string SemaphoreName();

}  // namespace vestrel::doctiff::scratch

namespace vestrel::doctiff {

// Holds the lock file of $TOLVY_ROOT while it lives. The scratch files and the printer's
// semaphore serve one conversion at a time on the whole machine.
class ConversionLock {
public:
    explicit ConversionLock(std::chrono::milliseconds patience);
    ~ConversionLock();
    ConversionLock(const ConversionLock&) = delete;
    ConversionLock& operator=(const ConversionLock&) = delete;
    bool locked() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}  // namespace vestrel::doctiff
