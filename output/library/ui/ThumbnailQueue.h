#pragma once
// Makes thumbnails on a small pool of worker threads, so that the pane stays responsive
// while a folder of large scans is read; each picture is handed back on the thread of the
// queue as soon as it is made. Starting over drops the jobs not yet begun and marks the
// running ones stale: their pictures are thrown away, never shown in the wrong place.
// Pictures of files that have not changed since they were made come from the cache at
// once, without a job.

#include "ThumbnailCache.h"

#include <QImage>
#include <QObject>
#include <QThreadPool>

#include <atomic>
#include <filesystem>
#include <memory>
#include <vector>

namespace vestrel::library {

class ThumbnailQueue : public QObject {
    Q_OBJECT
public:
    explicit ThumbnailQueue(QObject* parent = nullptr);
    // Waits for the jobs that are running (one decode each at most).
    ~ThumbnailQueue() override;

    // One job per file, in order; the picture of `sources[i]` is reported as row i.
    void restart(const std::vector<std::filesystem::path>& sources);
    // Drops every job; pictures still in the making are thrown away.
    void cancel();
    // Jobs of the current run whose picture has not been reported yet.
    int pending() const { return pending_; }
    // Pictures decoded since the queue was made (cache hits not counted).
    int decodes() const { return decodes_; }

signals:
    // A null picture: the file has none (missing, damaged or of no image type).
    void thumbnailMade(int row, const QImage& picture);
    // The last picture of the current run was reported.
    void allMade();

private:
    void deliver(int run, int row, const std::optional<FileStamp>& stamp, const cv::Mat& thumbnail);

    QThreadPool pool_;
    std::shared_ptr<std::atomic<int>> currentRun_;
    int pending_ = 0;
    int decodes_ = 0;
    ThumbnailCache cache_;
};

}  // namespace vestrel::library
