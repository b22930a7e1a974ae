#pragma once
// The scan state the main window keeps besides the settings of config.ini: what is
// running, the naming counters and the digital zoom. The counters are never stored; each
// listing of the photo folder recomputes them (CounterRecount.h). Whether an e-book is
// open is the PDF writer's to say (ScanSeams.h). When a command is enabled is the command
// table's rule.

#include <string>

namespace vestrel::scan {

struct ScanCounters {
    int book = 0;     // naming mode 1 during book scanning
    int serial = 0;   // mode 3
    int odd = -1;     // modes 4 and 6
    int even = 0;     // modes 5 and 6
    bool operator==(const ScanCounters&) const = default;
};

struct ScanState {
    bool liveMode = true;          // scanning only happens while the live picture is shown
    bool recording = false;        // a video recording runs
    bool timedScanning = false;    // the timed-scan timer runs
    bool bookScanning = false;     // a timed scan in naming mode 1 runs
    std::string timedBookName;     // base name typed when that timed scan started
    ScanCounters counters;
    int zoomLevel = 0;             // digital zoom 0..6
    bool actualSize = false;       // live picture shown at its own size
    bool idCardCopyMode = false;   // scans feed the two-sided ID-card copy
};

}  // namespace vestrel::scan
