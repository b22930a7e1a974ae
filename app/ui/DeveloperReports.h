#pragma once
// Measurements the program makes of itself on request (command-line flags), for the
// figures the developers keep: start-up time, the window's responsiveness while timed
// scanning runs, and a picture of the window. Each ends the program when it is done.

#include <QElapsedTimer>
#include <QString>

namespace vestrel {

class CMainFrame;

// --startup-report: when the window was shown and when its first live frame was painted.
void ReportStartup(CMainFrame& frame, QElapsedTimer sinceStart);
// --timed-scan-report SECONDS: runs a timed scan at the configured interval and prints the
// scans stored, the ticks dropped and how late a 10 ms probe timer ran (the worst delay any
// input would have waited).
void ReportTimedScanning(CMainFrame& frame, int seconds);
// --screenshot PATH: the window as it looks three seconds after the start.
void TakeScreenshot(CMainFrame& frame, const QString& path);

}  // namespace vestrel
