#include "ProcessingChain.h"

#include "DocumentSteps.h"
#include "FrameBitmap.h"
#include "ImageSizeList.h"

#include <algorithm>
#include <cstdio>

namespace vestrel::scan {
namespace {

// The stamp sits this far left of the right edge and above the bottom edge; pictures not
// larger than that get none.
constexpr int kStampFromRight = 150;
constexpr int kStampFromBottom = 15;
constexpr const char* kStampFont = "宋体";
constexpr int kStampWeight = 400;
constexpr int kStampDefaultSize = 0;  // the font's default size

class StepClock {
public:
    explicit StepClock(const StepObserver* observer) : observer_(observer) { restart(); }
    void done(std::string_view step)
    {
        if (!observer_ || !*observer_) return;
        const auto now = std::chrono::steady_clock::now();
        (*observer_)(step, now - start_);
        start_ = now;
    }
    void restart()
    {
        if (observer_ && *observer_) start_ = std::chrono::steady_clock::now();
    }

private:
    const StepObserver* observer_;
    std::chrono::steady_clock::time_point start_;
};

void CropToScanArea(CxImage& image, const Settings& s, int zoomLevel, int frameWidth, int frameHeight)
{
    if (zoomLevel >= 1) {
        // The centre of the enlarged picture, as large as the frame.
        image.Crop(PixelRect{200 * zoomLevel, 150 * zoomLevel, 200 * zoomLevel + frameWidth,
                             150 * zoomLevel + frameHeight});
        return;
    }
    const PixelRect area = ScanAreaRect(s, frameWidth, frameHeight);
    if (area.left == 0 && area.top == 0 && area.right == frameWidth && area.bottom == frameHeight)
        return;  // the whole frame: nothing to cut, nothing to copy
    image.Crop(area);
}

void Turn(CxImage& image, const Orientation& o)
{
    if (o.upsideDown) image.Rotate180();
    else if (o.rotateLeft) image.RotateLeft();
    else if (o.rotateRight) image.RotateRight();
}

void StampTime(CxImage& image, const std::tm& localTime)
{
    if (image.GetWidth() <= kStampFromRight || image.GetHeight() <= kStampFromBottom) return;
    const std::string text = TimeStampText(localTime);
    const RGBQUAD black = MakeRgbQuad(0, 0, 0);
    // The text block's height depends on the font; measure it on a scrap picture so the
    // block ends exactly 15 pixels above the bottom edge.
    CxImage scrap(kStampFromRight * 4, 128, 24);
    PixelRect box;
    if (!scrap.DrawString(0, 0, text, black, kStampFont, kStampDefaultSize, kStampWeight, false,
                          false, false, &box))
        return;
    image.DrawString(image.GetWidth() - kStampFromRight,
                     image.GetHeight() - kStampFromBottom - box.height(), text, black, kStampFont,
                     kStampDefaultSize, kStampWeight);
}

void PrepareJpeg(CxImage& image, int quality)
{
    if (image.GetBpp() < 24 && !image.IsGrayScale()) image.IncreaseBpp(24);
    image.SetTransIndex(-1);
    image.SetJpegQualityF(static_cast<float>(std::clamp(quality, 0, 100)));
}

// Formats whose files hold a black-and-white picture as one bit per pixel.
bool KeepsBilevel(int type)
{
    return type == CXIMAGE_FORMAT_BMP || type == CXIMAGE_FORMAT_GIF || type == CXIMAGE_FORMAT_PNG ||
           type == CXIMAGE_FORMAT_TIF;
}

}  // namespace

std::string TimeStampText(const std::tm& t)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%02d%02d:%02d:%02d", t.tm_mon + 1, t.tm_mday,
                  (t.tm_year + 1900) % 100, t.tm_hour, t.tm_min, t.tm_sec);
    return buf;
}

bool ProcessScan(const cv::Mat& frame, int type, const ChainInput& input, CxImage& image,
                 const StepObserver* observer)
{
    if (frame.empty() || frame.type() != CV_8UC3 || !input.settings) return false;
    const Settings& s = *input.settings;
    const bool mainCamera = input.kind == ChainKind::MainCamera;
    StepClock clock(observer);

    if (!image.AdoptMat(frame)) return false;
    clock.done("load");

    if (input.cropToScanArea) {
        const int z = std::clamp(input.zoomLevel, 0, 6);
        if (z > 0) {
            image.Resample(frame.cols + 400 * z, frame.rows + 300 * z, 2);
            clock.done("zoom");
        }
        CropToScanArea(image, s, z, frame.cols, frame.rows);
        clock.done("crop");
    }
    Turn(image, s.orientation);
    clock.done("turn");
    if (s.grayscale == 1) {
        image.GrayScale();
        clock.done("grey");
    }
    if (s.addtime == 1) {
        StampTime(image, input.localTime);
        clock.done("time stamp");
    }
    if (mainCamera && s.eraser == 1) {
        RemoveBackground(image);
        clock.done("background removal");
    }
    if (mainCamera && s.incline == 1) {
        Deskew(image);
        clock.done("deskew");
    }
    if (type == CXIMAGE_FORMAT_JPG) PrepareJpeg(image, s.jpgquality);
    if (mainCamera && s.threshold == 1) {
        if (Binarise(image) && KeepsBilevel(type)) image.DecreaseBpp(1, false);
        clock.done("binarisation");
    } else if (type == CXIMAGE_FORMAT_TIF) {
        image.GrayScale();
        clock.done("grey");
    }
    return true;
}

StoredScan StoreScan(const cv::Mat& frame, const std::filesystem::path& target,
                     const ChainInput& input, const StepObserver* observer)
{
    StoredScan stored;
    const int type = GetFileType(target.filename().string());
    if (type == CXIMAGE_FORMAT_UNKNOWN || type == CXIMAGE_FORMAT_PDF) {
        stored.rawBitmap = true;
        stored.result = StoreNewFile(
            target, [&](const std::filesystem::path& p) { return WriteFrameBitmap(p, frame); },
            &stored.error);
        return stored;
    }

    CxImage image;
    if (!ProcessScan(frame, type, input, image, observer)) {
        stored.error = "no picture";
        return stored;
    }
    StepClock clock(observer);
    stored.result = StoreNewFile(
        target, [&](const std::filesystem::path& p) { return image.Save(p, type); }, &stored.error);
    if (stored.result == NewFileResult::Failed && type != CXIMAGE_FORMAT_BMP) {
        // A format the library cannot write: keep the picture as a bitmap under the name.
        std::string bitmapError;
        const NewFileResult asBitmap = StoreNewFile(
            target,
            [&](const std::filesystem::path& p) { return image.Save(p, CXIMAGE_FORMAT_BMP); },
            &bitmapError);
        if (asBitmap == NewFileResult::Stored) {
            stored.result = asBitmap;
            stored.rawBitmap = true;
            stored.error.clear();
        }
    }
    clock.done("save");
    return stored;
}

}  // namespace vestrel::scan
