#include "ThumbnailQueue.h"

#include "ThumbnailMaker.h"

#include <QMetaObject>

namespace vestrel::library {

namespace {
// Two workers: the machines this runs on have few cores, and the user-interface thread
// needs one of them.
constexpr int kWorkers = 2;

QImage ToQImage(const cv::Mat& thumbnail)
{
    if (thumbnail.empty()) return {};
    return QImage(thumbnail.data, thumbnail.cols, thumbnail.rows, int(thumbnail.step), QImage::Format_BGR888)
        .copy();
}
}  // namespace

ThumbnailQueue::ThumbnailQueue(QObject* parent)
    : QObject(parent), currentRun_(std::make_shared<std::atomic<int>>(0))
{
    pool_.setMaxThreadCount(kWorkers);
}

ThumbnailQueue::~ThumbnailQueue()
{
    cancel();
    pool_.waitForDone();
}

void ThumbnailQueue::cancel()
{
    ++*currentRun_;
    pool_.clear();
    pending_ = 0;
}

void ThumbnailQueue::restart(const std::vector<std::filesystem::path>& sources)
{
    cancel();
    const int run = *currentRun_;
    std::vector<std::pair<int, cv::Mat>> known;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const int row = int(i);
        // Taken before the decode: a file that changes while it is read is made again next time.
        std::optional<FileStamp> stamp = StampOf(sources[i]);
        if (stamp) {
            if (std::optional<cv::Mat> thumbnail = cache_.find(*stamp)) {
                known.emplace_back(row, std::move(*thumbnail));
                continue;
            }
        }
        ++pending_;
        ++decodes_;
        pool_.start([this, runs = currentRun_, run, row, stamp = std::move(stamp), source = sources[i]] {
            // A job of a run that was superseded before it began costs nothing.
            if (*runs != run) return;
            cv::Mat thumbnail = MakeThumbnail(source);
            if (*runs != run) return;
            QMetaObject::invokeMethod(
                this, [this, run, row, stamp, thumbnail = std::move(thumbnail)] { deliver(run, row, stamp, thumbnail); },
                Qt::QueuedConnection);
        });
    }
    for (const auto& [row, thumbnail] : known) emit thumbnailMade(row, ToQImage(thumbnail));
    if (pending_ == 0) emit allMade();
}

void ThumbnailQueue::deliver(int run, int row, const std::optional<FileStamp>& stamp, const cv::Mat& thumbnail)
{
    if (run != *currentRun_) return;
    if (stamp) cache_.store(*stamp, thumbnail);
    emit thumbnailMade(row, ToQImage(thumbnail));
    if (--pending_ == 0) emit allMade();
}

}  // namespace vestrel::library
