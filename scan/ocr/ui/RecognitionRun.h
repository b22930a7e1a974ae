#pragma once
// The text-recognition command in the window: its checks and files on the UI thread, the
// engine on a worker thread behind a progress window with a cancel button, so the
// program keeps painting while a page is read; the results are shown when it is done.

#include "TextRecognition.h"

#include <QObject>

#include <atomic>
#include <memory>
#include <optional>

class QProgressDialog;
class QThread;
class QWidget;

namespace vestrel::ocr {

// Opens files with the desktop's default programs (xdg-open and its kin).
class QtDesktopOpener final : public DesktopOpener {
public:
    bool open(const std::filesystem::path& file) override;
};

class RecognitionRun : public QObject {
    Q_OBJECT
public:
    // `opener` null: the desktop's own. The progress window belongs to `window`.
    RecognitionRun(Prompter& prompter, QWidget* window, std::unique_ptr<DesktopOpener> opener = {},
                   std::string languages = kDefaultLanguages);
    // A run still going is cancelled and waited for; its outcome is dropped.
    ~RecognitionRun() override;

    // The run that belongs to `window`, made on first use.
    static RecognitionRun& Of(QWidget* window, Prompter& prompter);

    // Starts the command on the current picture; false when it ended before the engine
    // (its message shown) or a run is going already.
    bool start(bool liveMode, const CxImage* image);
    bool isRunning() const { return thread_ != nullptr; }
    void cancel();
    // Blocks until the engine is done, then delivers at once (tests, closing).
    void waitForFinished();

    // What the last finished run left behind.
    const std::optional<RecognitionFiles>& files() const { return files_; }
    QProgressDialog* progressWindow() const { return progressWindow_; }

signals:
    void progressed(int percent);
    // The run is over and its results are shown.
    void finished();

private:
    void end();

    Prompter& prompter_;
    QWidget* window_;
    std::unique_ptr<DesktopOpener> opener_;
    TextRecognitionCommand command_;
    // Kept from run to run: the language data load once.
    TextRecogniser recogniser_;
    std::unique_ptr<QThread> thread_;
    std::atomic<bool> cancelRequested_{false};
    RecognitionOutcome outcome_;
    std::optional<RecognitionFiles> files_;
    QProgressDialog* progressWindow_ = nullptr;
};

}  // namespace vestrel::ocr
