#include "VideoWindow.h"

#include "CVideoCapture.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPaintEvent>
#include <QTimer>
#include <QWheelEvent>

#include <opencv2/imgproc.hpp>

namespace vestrel {
namespace {

// Checked often enough to show a 30 fps camera without delay; a check without a new
// frame costs one atomic read under a lock.
constexpr int kPollMs = 10;

}  // namespace

void ConnectDeviceLost(CVideoCapture& capture, QObject* context, std::function<void()> onUiThread)
{
    // The capture thread reports the loss; the work runs on the context's thread, and not
    // at all once the context is gone.
    QPointer<QObject> guard(context);
    capture.SetDeviceLostHandler([guard, onUiThread = std::move(onUiThread)] {
        if (guard) QMetaObject::invokeMethod(guard.data(), onUiThread, Qt::QueuedConnection);
    });
}

VideoWindow::VideoWindow(CVideoCapture& capture, QWidget* owner)
    : QWidget(owner), capture_(capture), owner_(owner), timer_(new QTimer(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    if (owner_) owner_->installEventFilter(this);
    connect(timer_, &QTimer::timeout, this, [this] {
        if (pollFrame()) update();
    });
    timer_->start(kPollMs);
    relayout();
    show();  // a child made after its owner is shown would otherwise stay hidden
}

bool VideoWindow::pollFrame()
{
    return capture_.Grabber().CopyPreviewIfNewer(preview_, previewSequence_);
}

cv::Size VideoWindow::shownFrameSize() const
{
    if (!preview_.empty()) return preview_.size();
    const FrameSize f = capture_.FormatSize();
    const bool sideways = TurnedSideways(capture_.Grabber().Settings().orientation) &&
                          !capture_.Grabber().PassThrough();
    return sideways ? cv::Size(f.height, f.width) : cv::Size(f.width, f.height);
}

void VideoWindow::relayout()
{
    if (!owner_) return;
    const FrameSize frame = capture_.FormatSize();
    const bool sideways = TurnedSideways(capture_.Grabber().Settings().orientation) &&
                          !capture_.Grabber().PassThrough();
    const QSize client = owner_->contentsRect().size();
    VideoWindowRect r;
    if (mode_ == Mode::ActualSize)
        r = zoom_ > 0 ? ZoomVideoWindowActualSize(zoom_, frame.width, frame.height, sideways)
                      : ActualSizeVideoWindow(frame.width, frame.height, sideways);
    else
        r = zoom_ > 0 ? ZoomVideoWindowFitted(zoom_, client.width(), client.height(), frame.width,
                                              frame.height, sideways, capture_.TopOffset())
                      : LayoutVideoWindow(client.width(), client.height(), sideways, capture_.TopOffset());
    forwardsInput_ = r.forwardsInput;
    zoomOffset_ = zoom_ > 0 ? QPoint(r.left, r.top) : QPoint();
    setGeometry(r.left, r.top, r.width, r.height);
    update();
}

bool VideoWindow::showPreview(bool on)
{
    const bool done = capture_.ShowPreview(on);
    setVisible(on);
    return done;
}

void VideoWindow::setMode(Mode mode)
{
    mode_ = mode;
    relayout();
}

void VideoWindow::setZoomLevel(int level)
{
    zoom_ = std::clamp(level, 0, kMaxZoomLevel);
    relayout();
}

void VideoWindow::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect area = event->rect() & rect();
    if (preview_.empty() || width() <= 0 || height() <= 0 || area.isEmpty()) {
        painter.fillRect(area, Qt::black);
        return;
    }
    // Only the exposed part is scaled: a zoomed window is far larger than the screen.
    const double sx = double(preview_.cols) / width();
    const double sy = double(preview_.rows) / height();
    const cv::Rect source = cv::Rect(int(area.left() * sx), int(area.top() * sy),
                                     std::max(1, int(std::ceil(area.width() * sx))),
                                     std::max(1, int(std::ceil(area.height() * sy)))) &
                            cv::Rect(0, 0, preview_.cols, preview_.rows);
    if (source.empty()) return;
    // Bilinear even when shrinking: area averaging costs five times as much on a full
    // camera frame, more than the UI thread can spare at the camera's rate.
    try {
        cv::resize(preview_(source), scaled_, cv::Size(area.width(), area.height()), 0, 0, cv::INTER_LINEAR);
    } catch (const cv::Exception&) {
        painter.fillRect(area, Qt::black);  // no memory for the scaled picture: skip one paint
        return;
    }
    const QImage image(scaled_.data, scaled_.cols, scaled_.rows, int(scaled_.step[0]), QImage::Format_BGR888);
    painter.drawImage(area.topLeft(), image);
    ++framesShown_;
}

bool VideoWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == owner_ && event->type() == QEvent::Resize) relayout();
    return QWidget::eventFilter(watched, event);
}

void VideoWindow::forwardMouse(QMouseEvent* event)
{
    if (!forwardsInput_ || !owner_) return;
    const QPointF local = mapTo(owner_, event->position().toPoint());
    QMouseEvent forwarded(event->type(), local, event->globalPosition(), event->button(),
                          event->buttons(), event->modifiers());
    QCoreApplication::sendEvent(owner_, &forwarded);
}

void VideoWindow::mousePressEvent(QMouseEvent* e) { forwardMouse(e); }
void VideoWindow::mouseReleaseEvent(QMouseEvent* e) { forwardMouse(e); }
void VideoWindow::mouseDoubleClickEvent(QMouseEvent* e) { forwardMouse(e); }
void VideoWindow::mouseMoveEvent(QMouseEvent* e) { forwardMouse(e); }

void VideoWindow::wheelEvent(QWheelEvent* e)
{
    if (!forwardsInput_ || !owner_) return;
    QWheelEvent forwarded(mapTo(owner_, e->position().toPoint()), e->globalPosition(), e->pixelDelta(),
                          e->angleDelta(), e->buttons(), e->modifiers(), e->phase(), e->inverted());
    QCoreApplication::sendEvent(owner_, &forwarded);
}

void VideoWindow::keyPressEvent(QKeyEvent* e)
{
    if (forwardsInput_ && owner_) QCoreApplication::sendEvent(owner_, e);
}

void VideoWindow::keyReleaseEvent(QKeyEvent* e)
{
    if (forwardsInput_ && owner_) QCoreApplication::sendEvent(owner_, e);
}

}  // namespace vestrel
