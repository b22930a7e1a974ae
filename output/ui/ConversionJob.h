#pragma once
// Runs one PDF conversion on a thread of its own, so the dialog that started it keeps
// painting and can cancel it. Progress arrives on the UI thread as a signal; the
// conversion's messages are held until it is over and then shown through the UI's Prompter.

#include "DeferredPrompter.h"
#include "PdfConversion.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>

class QThread;

namespace vestrel::output {

class ConversionJob : public QObject {
    Q_OBJECT
public:
    // The conversion: it tells the user through the Prompter it is given and calls the
    // progress function between pages (false there means stop).
    using Work = std::function<ConversionResult(Prompter& prompter, const ConversionProgress& progress)>;

    explicit ConversionJob(Prompter& prompter, QObject* parent = nullptr);
    // A job still running is cancelled and waited for; its messages are dropped.
    ~ConversionJob() override;

    // False (and nothing started) while another job runs.
    bool start(Work work);
    bool isRunning() const { return thread_ != nullptr; }
    // Asks the job to stop after the page in hand.
    void cancel();
    // Blocks until the running job returns, then ends it at once: finished() and the
    // messages come before this returns.
    void waitForFinished();

    // How the last job ended; valid from finished() on.
    const ConversionResult& result() const { return result_; }

signals:
    void progressed(int done, int total);
    // The job is over and result() holds its outcome; its messages are shown right after.
    void finished();

private:
    void end();

    Prompter& prompter_;
    std::unique_ptr<QThread> thread_;
    std::atomic<bool> cancelRequested_{false};
    std::unique_ptr<DeferredPrompter> deferred_;  // the running job's messages
    ConversionResult result_;
    unsigned serial_ = 0;  // tells a job's late signals from the next job's
};

}  // namespace vestrel::output
