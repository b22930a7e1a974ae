#pragma once
// The snapshot behind the scan-settings preview: the newest frame through the scan chain,
// without binarisation and background removal (the preview shows those itself, on top),
// into Image.bmp of the program folder. It is no scan: it replaces a stale snapshot left
// by an earlier run and never enters the photo folder or its naming.

#include "ProcessingChain.h"

#include <filesystem>
#include <string>

namespace vestrel::scan {

// Program folder + Image.bmp.
std::filesystem::path PreviewSnapshotFile(const std::filesystem::path& programDir);

// Writes the processed frame to `target`, replacing what is there. `input.settings` keeps
// its `threshold` and `eraser`; the snapshot runs without them. False (with `error`) when
// nothing was written.
bool StorePreviewSnapshot(const cv::Mat& frame, const ChainInput& input,
                          const std::filesystem::path& target, std::string* error = nullptr);

}  // namespace vestrel::scan
