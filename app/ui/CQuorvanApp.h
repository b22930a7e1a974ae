#pragma once
// The application object: one instance per user, the main camera, the main window and its
// settings, started in the order the program has always kept.

#include <QElapsedTimer>

#include <memory>

class QApplication;

namespace vestrel {

class CMainFrame;
class QtPrompter;
class SingleInstance;

class CQuorvanApp {
public:
    // `startClock` runs from the start of the process (start-up measurements).
    CQuorvanApp(int argc, char** argv, QElapsedTimer startClock);
    ~CQuorvanApp();

    // False when the program should end at once: another instance runs (it has been
    // woken), or there is no camera or its picture cannot start (the user has been told).
    bool InitInstance();
    int Run();

    CMainFrame* mainFrame() const { return frame_.get(); }

private:
    int argc_;
    char** argv_;
    QElapsedTimer startClock_;
    std::unique_ptr<QtPrompter> prompter_;
    std::unique_ptr<SingleInstance> instance_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace vestrel
