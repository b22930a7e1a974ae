#include "SecondCameraDialog.h"

#include "CVideoCapture.h"
#include "CaptureMessages.h"
#include "Prompter.h"
#include "VideoWindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>

namespace vestrel {
namespace {

constexpr const char* kScanText = "扫 描";
constexpr const char* kShrinkText = "窗体缩小";
constexpr const char* kRestoreText = "窗体恢复";
constexpr const char* kSizes[] = {"160*120", "176*144", "320*240", "352*288", "640*480"};
constexpr const char* kStartSize = "640*480";
// Where the dialog opens, from the live pane's client right and top.
constexpr int kFromRight = 390;
constexpr int kFromTop = 80;
constexpr QSize kStartVideoSize{320, 240};

}  // namespace

SecondCameraDialog::SecondCameraDialog(CVideoCapture& capture, QWidget* parent)
    : QDialog(parent), capture_(capture), video_(nullptr), sizeBox_(new QComboBox(this)),
      scanButton_(new QPushButton(QString::fromUtf8(kScanText), this)),
      miniButton_(new QPushButton(QString::fromUtf8(kShrinkText), this))
{
    setWindowTitle(QString::fromUtf8(capturemsg::kSecondCameraCaption));
    setAttribute(Qt::WA_DeleteOnClose);
    scanButton_->setProperty("controlId", kScanButtonId);
    sizeBox_->setProperty("controlId", kSizeComboId);
    miniButton_->setProperty("controlId", kMiniButtonId);
    for (const char* size : kSizes) sizeBox_->addItem(QString::fromLatin1(size));
    sizeBox_->setCurrentText(QString::fromLatin1(kStartSize));

    // The controls sit in the strip above the video window, which starts
    // kSecondCameraTopOffset pixels down.
    auto* strip = new QWidget(this);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(scanButton_);
    row->addWidget(sizeBox_);
    row->addWidget(miniButton_);
    strip->setGeometry(0, 0, kStartVideoSize.width(), kSecondCameraTopOffset);
    strip->setObjectName("controlStrip");

    video_ = new VideoWindow(capture_, this);
    connect(scanButton_, &QPushButton::clicked, this, [this] {
        if (scanHook_) scanHook_();
    });
    connect(sizeBox_, &QComboBox::activated, this, [this](int index) { chooseSize(sizeBox_->itemText(index)); });
    connect(miniButton_, &QPushButton::clicked, this, &SecondCameraDialog::toggleMini);
    resize(kStartVideoSize.width(), kStartVideoSize.height() + kSecondCameraTopOffset);
}

SecondCameraDialog::~SecondCameraDialog() { shutDownCamera(); }

bool SecondCameraDialog::chooseSize(const QString& text)
{
    const QStringList parts = text.split('*');
    if (parts.size() != 2) return false;
    bool okWidth = false, okHeight = false;
    const int width = parts[0].toInt(&okWidth);
    const int height = parts[1].toInt(&okHeight);
    if (!okWidth || !okHeight) return false;
    const bool done = capture_.SetFrameSize(width, height);
    video_->relayout();
    return done;
}

void SecondCameraDialog::toggleMini()
{
    mini_ = !mini_;
    if (mini_) {
        normalSize_ = size();
        setMinimumSize(kMiniSize);
        resize(kMiniSize);
        miniButton_->setText(QString::fromUtf8(kRestoreText));
    } else {
        resize(normalSize_);
        miniButton_->setText(QString::fromUtf8(kShrinkText));
    }
}

void SecondCameraDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (auto* strip = findChild<QWidget*>("controlStrip")) strip->resize(width(), kSecondCameraTopOffset);
    if (video_) video_->relayout();
}

void SecondCameraDialog::shutDownCamera()
{
    if (cameraClosed_) return;
    cameraClosed_ = true;
    capture_.Stop();
    capture_.TearDownDownstream();
    capture_.ReleaseGraph();
}

void SecondCameraDialog::closeEvent(QCloseEvent* event)
{
    shutDownCamera();
    QDialog::closeEvent(event);
}

SecondCameraDialog* OpenSecondCamera(CVideoCapture& second, Prompter& prompter, const std::string& vid,
                                     const std::string& pid, QWidget* livePane, SecondCameraDialog* previous)
{
    if (previous) previous->close();
    second.SetTopOffset(true);
    second.Grabber().SetPassThrough(true);
    second.EnumerateDevices();
    if (!second.SelectDeviceByUsbId(vid, pid)) {
        prompter.message(capturemsg::kNoSecondCamera);
        return nullptr;
    }
    second.ReleaseGraph();
    if (!second.BuildGraph()) return nullptr;
    auto* dialog = new SecondCameraDialog(second, livePane);
    dialog->show();
    if (livePane) {
        const QRect client = livePane->contentsRect();
        dialog->move(livePane->mapToGlobal(QPoint(client.right() + 1 - kFromRight, client.top() + kFromTop)));
    }
    if (second.BuildPreview() && second.Run()) second.RestartPreview();
    dialog->videoWindow()->relayout();
    return dialog;
}

}  // namespace vestrel
