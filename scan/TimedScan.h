#pragma once
// Timed scanning as plain functions: the window timer that calls the tick lives with the
// main window (or with vestrel-scan's loop); what starting, each tick and stopping do to
// the scan state lives here.

#include "ScanSeams.h"
#include "ScanState.h"
#include "Settings.h"

namespace vestrel::scan {

class Scanner;
struct ScanOutcome;

struct TimedScanStart {
    bool started = false;
    int periodMs = 0;  // the timer's period: setting `intertime`
};

// Starts timed scanning. Naming mode 1 asks the file-name dialog for the book's name and
// starts nothing on Cancel; modes 4 and 5 with `fornew` restart the odd and even numbering.
// Does nothing while a timed scan already runs.
TimedScanStart StartTimedScan(const Settings& settings, ScanState& state, FileNameSource& names);

// One tick: a scan, as the scan command makes it (so a tick in ID-card copy mode does the
// copy's next step). A tick that arrives after the stop does nothing.
ScanOutcome TimedScanTick(Scanner& scanner, const ScanState& state);

// Stops timed scanning (also when an e-book is stopped during a timed scan).
void StopTimedScan(ScanState& state);

}  // namespace vestrel::scan
