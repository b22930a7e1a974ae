#include "PreviewSnapshot.h"

#include "NewFile.h"

namespace vestrel::scan {

std::filesystem::path PreviewSnapshotFile(const std::filesystem::path& programDir)
{
    return programDir / "Image.bmp";
}

bool StorePreviewSnapshot(const cv::Mat& frame, const ChainInput& input,
                          const std::filesystem::path& target, std::string* error)
{
    if (!input.settings) return false;
    Settings withoutCleaning = *input.settings;
    withoutCleaning.threshold = 0;
    withoutCleaning.eraser = 0;
    ChainInput snapshot = input;
    snapshot.settings = &withoutCleaning;
    CxImage image;
    if (!ProcessScan(frame.clone(), CXIMAGE_FORMAT_BMP, snapshot, image)) {
        if (error) *error = "no picture";
        return false;
    }
    return StoreReplacingFile(
        target, [&](const std::filesystem::path& p) { return image.Save(p, CXIMAGE_FORMAT_BMP); }, error);
}

}  // namespace vestrel::scan
