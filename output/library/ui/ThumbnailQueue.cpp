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
    pending_ = int(sources.size());
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const int row = int(i);
        pool_.start([this, runs = currentRun_, run, row, source = sources[i]] {
            // A job of a run that was superseded before it began costs nothing.
            if (*runs != run) return;
            QImage picture = ToQImage(MakeThumbnail(source));
            if (*runs != run) return;
            QMetaObject::invokeMethod(
                this, [this, run, row, picture = std::move(picture)] { deliver(run, row, picture); },
                Qt::QueuedConnection);
        });
    }
    if (pending_ == 0) emit allMade();
}

void ThumbnailQueue::deliver(int run, int row, const QImage& picture)
{
    if (run != *currentRun_) return;
    emit thumbnailMade(row, picture);
    if (--pending_ == 0) emit allMade();
}

}  // namespace vestrel::library
