#pragma once
// One QApplication for every test of an executable that needs widgets (offscreen, set by
// the test's environment), and a helper that runs the event loop until something happens.
// Header-only: executables that include it link Qt Widgets themselves.

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>

namespace vestrel::testkit {

inline QApplication& TestApp()
{
    static int argc = 1;
    static char arg0[] = "vestrel-test";
    static char* argv[] = {arg0, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// Runs the event loop until `done` holds or `ms` pass; returns `done()`.
template <typename Done>
bool WaitFor(Done done, int ms = 10000)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

}  // namespace vestrel::testkit
