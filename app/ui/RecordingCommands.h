#pragma once
// Video recording in the main window: "录制视频" through its dialogs, the floating tool
// window (record again, stop, play, close), timers 2 (the countdown of a timed recording)
// and 3 (the watch over the tool window and the writer), Esc, the loss of the camera, and
// the information pane's recording fields. The frames go from the camera's capture thread
// to a VideoRecorder while the live picture runs on from the same frames.

#include "CommandTable.h"
#include "HelperText.h"
#include "RecordingState.h"
#include "RecordingToolWindow.h"
#include "VideoRecorder.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QTimer;
class QWidget;

namespace vestrel {

class CMainFrame;
class Prompter;

class RecordingCommands : public QObject {
    Q_OBJECT
public:
    // What the user is asked, and the clock; tests put their own in.
    struct Seams {
        std::function<std::optional<RecordSettings>(const std::vector<std::string>& capabilities, QWidget* parent)>
            askSettings;
        // The format pages before a recording; they call the second argument once the
        // picture runs again.
        std::function<void(QWidget* owner, const std::function<void()>& start)> formatPages;
        std::function<bool(const std::string& path)> play;  // false: no player
        RecordingState::Clock clock;
    };

    RecordingCommands(CMainFrame& frame, Prompter& prompter);
    ~RecordingCommands() override;
    void setSeams(Seams seams);

    // The command handlers of 32777, 32778, 32985, 32975 and 32976.
    void registerHandlers(std::map<int, std::function<void()>>& handlers);
    // Fills the recording fields of the window's state and of the information pane.
    void fillState(FrameState& state) const;
    void fillHelper(LiveHelperInput& in) const;
    // The tool window's buttons follow the command table.
    void updateButtons(const FrameState& state);

    // Esc: a running recording stops.
    void escape();
    // The camera is gone: the file is finished with what came before.
    void deviceLost();

    void countdownTick();  // timer 2
    void watchTick();      // timer 3

    const RecordingState& state() const { return state_; }
    RecordingToolWindow* toolWindow() const { return window_.data(); }
    QTimer* countdownTimer() const { return countdown_; }
    QTimer* watchTimer() const { return watch_; }
    // The figures of the last recording stopped.
    const recording::RecordingStats& lastStats() const { return lastStats_; }

private:
    void OnRecord();
    void OnStop();
    void OnRecordAgain();
    void OnPlay();
    void OnClose();

    std::optional<std::string> askPath();
    bool startWriter();
    void finishWriter();
    void prepareLivePicture();
    void openToolWindow();
    void redraw();

    CMainFrame& frame_;
    Prompter& prompter_;
    Seams seams_;
    RecordingState state_;
    std::unique_ptr<recording::VideoRecorder> recorder_;
    recording::RecordingStats lastStats_;
    QPointer<RecordingToolWindow> window_;
    std::map<int, QAction*> buttons_;
    QTimer* countdown_;  // timer 2
    QTimer* watch_;      // timer 3
};

}  // namespace vestrel
