#include "DeveloperReports.h"

#include "CMainFrame.h"
#include "CommandIds.h"
#include "ScanDriver.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

namespace vestrel {
namespace {

void Finish(CMainFrame& frame)
{
    std::fflush(stdout);
    frame.close();
    QCoreApplication::quit();
}

// Runs `then` once the first live frame has been painted.
void AfterFirstFrame(CMainFrame& frame, std::function<void()> then)
{
    auto* poll = new QTimer(&frame);
    poll->setInterval(1);
    QObject::connect(poll, &QTimer::timeout, &frame, [&frame, poll, then] {
        if (!frame.camera() || frame.camera()->framesShown() == 0) return;
        poll->stop();
        poll->deleteLater();
        then();
    });
    poll->start();
}

std::size_t FilesIn(const std::string& folder)
{
    std::error_code ec;
    std::size_t n = 0;
    for (auto it = std::filesystem::directory_iterator(folder, ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
        ++n;
    return n;
}

}  // namespace

void ReportStartup(CMainFrame& frame, QElapsedTimer sinceStart)
{
    const qint64 shownAt = sinceStart.elapsed();
    AfterFirstFrame(frame, [&frame, sinceStart, shownAt] {
        const qint64 firstFrame = sinceStart.elapsed();
        std::printf("window shown after %lld ms; first live frame painted after %lld ms "
                    "(%lld ms after the window)\n",
                    static_cast<long long>(shownAt), static_cast<long long>(firstFrame),
                    static_cast<long long>(firstFrame - shownAt));
        Finish(frame);
    });
}

void ReportTimedScanning(CMainFrame& frame, int seconds)
{
    AfterFirstFrame(frame, [&frame, seconds] {
        const std::size_t before = FilesIn(frame.settings().path);
        auto delays = std::make_shared<std::vector<qint64>>();
        auto* probe = new QTimer(&frame);
        probe->setInterval(10);
        probe->setTimerType(Qt::PreciseTimer);
        auto clock = std::make_shared<QElapsedTimer>();
        clock->start();
        QObject::connect(probe, &QTimer::timeout, &frame, [clock, delays] {
            delays->push_back(std::max<qint64>(0, clock->restart() - 10));
        });
        probe->start();
        frame.OnCommand(cmd::ID_TIMED_SCAN);
        QTimer::singleShot(seconds * 1000, &frame, [&frame, probe, delays, before, seconds] {
            probe->stop();
            frame.OnCommand(cmd::ID_STOP_SCAN);
            std::vector<qint64> d = *delays;
            std::sort(d.begin(), d.end());
            const auto at = [&d](double q) { return d.empty() ? 0 : d[std::size_t(q * (d.size() - 1))]; };
            const std::size_t stored = FilesIn(frame.settings().path) - before;
            std::printf("timed scanning for %d s at intertime %d ms: %zu scans stored (%.1f per s), "
                        "%d ticks dropped; UI probe delay median %lld ms, 95%% %lld ms, worst %lld ms\n",
                        seconds, frame.settings().intertime, stored, double(stored) / seconds,
                        frame.scanDriver() ? frame.scanDriver()->droppedTicks() : 0,
                        static_cast<long long>(at(0.5)), static_cast<long long>(at(0.95)),
                        static_cast<long long>(at(1.0)));
            Finish(frame);
        });
    });
}

void TakeScreenshot(CMainFrame& frame, const QString& path)
{
    QTimer::singleShot(3000, &frame, [&frame, path] {
        frame.grab().save(path);
        Finish(frame);
    });
}

}  // namespace vestrel
