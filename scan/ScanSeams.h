#pragma once
// What a scan needs from outside the scanning core, each behind a small interface: the
// newest camera frame, the file-name dialog, and the two branches that other parts of the
// program own (the two-sided ID-card copy and scanning into a PDF).

#include <opencv2/core.hpp>

#include <filesystem>
#include <optional>
#include <string>

namespace vestrel::scan {

// The newest frame of a camera, as a copy the scan may keep: CV_8UC3 BGR, top row first.
class FrameSource {
public:
    virtual ~FrameSource() = default;
    // False when no frame has arrived yet.
    virtual bool copyNewestFrame(cv::Mat& frame) = 0;
};

// The file-name dialog (211): the text the user accepted, already judged by
// CheckTypedFileName, or nothing when the user cancelled.
class FileNameSource {
public:
    virtual ~FileNameSource() = default;
    virtual std::optional<std::string> askFileName() = 0;
};

// The two-sided ID-card copy: while its mode is on, a scan request runs its next step.
class IdCardCopy {
public:
    virtual ~IdCardCopy() = default;
    virtual void nextStep() = 0;
};

// Scanning to PDF (the ".pdf" format, or an e-book being composed): the frame goes to the
// PDF writer instead of an image file. The writer owns the e-book, so the scanner asks it
// whether one is open.
class PdfScanWriter {
public:
    virtual ~PdfScanWriter() = default;
    // `pdfPath` is photo folder + name + ".pdf". Returns false when nothing was written.
    virtual bool writeFrame(const cv::Mat& frame, const std::filesystem::path& pdfPath) = 0;
    // An e-book is being composed: every scan becomes its next page.
    virtual bool composingBook() const = 0;
    // Pages the open e-book has so far (0 when none is open).
    virtual int bookPages() const = 0;
};

}  // namespace vestrel::scan
