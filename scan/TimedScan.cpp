#include "TimedScan.h"

#include "FileNaming.h"
#include "Scanner.h"

#include <algorithm>

namespace vestrel::scan {

TimedScanStart StartTimedScan(const Settings& s, ScanState& state, FileNameSource& names)
{
    if (state.timedScanning) return {};
    const int mode = EffectiveNamingMode(s.name);
    if (mode == kNameCustom) {
        const std::optional<std::string> book = names.askFileName();
        // The old program left book scanning switched on after a Cancel, so the next single
        // scan silently took the stale book name; a Cancel now leaves everything as it was.
        if (!book) return {};
        state.bookScanning = true;
        state.timedBookName = *book;
        state.counters.book = 0;
    } else if ((mode == kNameOdd || mode == kNameEven) && s.fornew == 1) {
        state.counters.odd = -1;
        state.counters.even = 0;
    }
    state.timedScanning = true;
    return {true, std::max(0, s.intertime)};
}

ScanOutcome TimedScanTick(Scanner& scanner, const ScanState& state)
{
    if (!state.timedScanning) return {};
    return scanner.scan();
}

void StopTimedScan(ScanState& state)
{
    state.timedScanning = false;
    state.bookScanning = false;
    state.counters.book = 0;
}

}  // namespace vestrel::scan
