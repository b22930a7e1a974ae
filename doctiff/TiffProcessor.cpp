#include "TiffProcessor.h"

#include "FaxTiffWriter.h"
#include "TiffCommand.h"

#include <opencv2/core.hpp>

#include <cmath>
#include <filesystem>
#include <system_error>

namespace vestrel::doctiff {
namespace {

// Pages [first, last] of a reader, clipped to what it has.
int LastPage(const TiffCommand& cmd, const PageReader& reader) {
    return std::min(cmd.lastPage, reader.PageCount() - 1);
}

}  // namespace

int TiffProcessor::Fail(int code, const std::string& why) {
    error_ = why;
    return code;
}

int TiffProcessor::Run(std::string_view command) {
    error_.clear();
    try {
        const auto cmd = ParseTiffCommand(command, error_);
        if (!cmd) return Fail(kTiffBadCommand, "bad command: " + error_);
        if (cmd->query != TiffQuery::None) {
            PageReader reader;
            if (!reader.Open(cmd->input)) return Fail(-1, reader.error());
            if (cmd->query == TiffQuery::PageCount) return reader.PageCount();
            int w = 0, h = 0;
            double xr = 0, yr = 0;
            if (!reader.PageInfo(0, w, h, xr, yr)) return Fail(-1, reader.error());
            switch (cmd->query) {
            case TiffQuery::Width: return w;
            case TiffQuery::Height: return h;
            case TiffQuery::XResolution: return static_cast<int>(std::lround(xr));
            case TiffQuery::YResolution: return static_cast<int>(std::lround(yr));
            default: return -1;
            }
        }
        if (cmd->rotate != 0) return Rotate(*cmd);
        if (cmd->format == 34) return ToFaxPages(*cmd);
        if (cmd->format == 35) return AppendPages(*cmd);
        return Fail(kTiffBadCommand, "the command asks for nothing to do");
    } catch (const cv::Exception& e) {
        return Fail(kTiffCannotWrite, std::string("image operation failed: ") + e.what());
    } catch (const std::bad_alloc&) {
        return Fail(kTiffCannotRead, "out of memory");
    }
}

int TiffProcessor::Rotate(const TiffCommand& cmd) {
    PageReader reader;
    if (!reader.Open(cmd.input)) return Fail(kTiffCannotRead, reader.error());
    const int last = LastPage(cmd, reader);
    if (cmd.firstPage > last) return Fail(kTiffNoPages, "no page in the range");
    const int code = cmd.rotate == 90 ? cv::ROTATE_90_CLOCKWISE
                     : cmd.rotate == 180 ? cv::ROTATE_180 : cv::ROTATE_90_COUNTERCLOCKWISE;
    FaxTiffWriter writer;
    if (!writer.Open(cmd.output)) return Fail(kTiffCannotWrite, writer.error());
    for (int i = cmd.firstPage; i <= last; ++i) {
        SourcePage page;
        if (!reader.ReadPage(i, page)) return Fail(kTiffCannotRead, reader.error());
        cv::Mat turned;
        cv::rotate(page.gray, turned, code);
        const bool quarter = cmd.rotate != 180;
        const double xr = quarter ? page.yResolution : page.xResolution;
        const double yr = quarter ? page.xResolution : page.yResolution;
        const bool ok = page.bilevel
            ? writer.WriteFaxPage(turned, xr > 0 ? xr : 204, yr > 0 ? yr : 196,
                                  i - cmd.firstPage + 1, last - cmd.firstPage + 1)
            : writer.WriteGrayPage(turned, xr, yr);
        if (!ok) return Fail(kTiffCannotWrite, writer.error());
    }
    if (!writer.Commit()) return Fail(kTiffCannotWrite, writer.error());
    return kTiffOk;
}

int TiffProcessor::ToFaxPages(const TiffCommand& cmd) {
    FaxPageFormat format;
    if (cmd.pageWidth > 0) {
        format.width = cmd.pageWidth;
        format.height = cmd.pageHeight;
    }
    if (cmd.xResolution > 0) {
        format.xResolution = cmd.xResolution;
        format.yResolution = cmd.yResolution;
    }
    if (static_cast<double>(format.width) * format.height > kMaxPagePixels)
        return Fail(kTiffBadCommand, "fax page size too large");
    PageReader reader;
    if (!reader.Open(cmd.input)) return Fail(kTiffCannotRead, reader.error());
    const int last = LastPage(cmd, reader);
    if (cmd.firstPage > last) return Fail(kTiffNoPages, "no page in the range");
    FaxTiffWriter writer;
    if (!writer.Open(cmd.output)) return Fail(kTiffCannotWrite, writer.error());
    for (int i = cmd.firstPage; i <= last; ++i) {
        SourcePage page;
        if (!reader.ReadPage(i, page)) return Fail(kTiffCannotRead, reader.error());
        const cv::Mat fitted = FitToFaxPage(page, format);
        const cv::Mat bw = FaxBlackAndWhite(fitted, page.bilevel);
        if (bw.empty()) return Fail(kTiffCannotWrite, "page " + std::to_string(i + 1) + " could not be made black and white");
        if (!writer.WriteFaxPage(bw, format.xResolution, format.yResolution,
                                 i - cmd.firstPage + 1, last - cmd.firstPage + 1))
            return Fail(kTiffCannotWrite, writer.error());
    }
    if (!writer.Commit()) return Fail(kTiffCannotWrite, writer.error());
    return kTiffOk;
}

int TiffProcessor::AppendPages(const TiffCommand& cmd) {
    // PageNumber holds the total, so every page of the grown file is written anew: first
    // the pages the output already has, then the new ones. The rewrite goes to a temporary
    // file, so a failure leaves the output as it was.
    PageReader existing, added;
    std::error_code ec;
    const bool haveExisting = std::filesystem::exists(cmd.output, ec);
    if (haveExisting && !existing.Open(cmd.output))
        return Fail(kTiffCannotRead, "the output is not a readable TIFF: " + existing.error());
    if (!added.Open(cmd.input)) return Fail(kTiffCannotRead, added.error());
    const int lastAdded = LastPage(cmd, added);
    if (cmd.firstPage > lastAdded) return Fail(kTiffNoPages, "no page in the range");
    const int existingCount = haveExisting ? existing.PageCount() : 0;
    const int total = existingCount + (lastAdded - cmd.firstPage + 1);
    if (total > 65535) return Fail(kTiffCannotWrite, "too many pages for one fax file");
    FaxTiffWriter writer;
    if (!writer.Open(cmd.output)) return Fail(kTiffCannotWrite, writer.error());
    int number = 0;
    auto copy = [&](PageReader& reader, int index) -> int {
        FaxStrip strip;
        if (reader.ReadFaxStrip(index, strip)) {
            if (!writer.WriteFaxStrip(strip, ++number, total)) return Fail(kTiffCannotWrite, writer.error());
            return kTiffOk;
        }
        SourcePage page;
        if (!reader.ReadPage(index, page)) return Fail(kTiffCannotRead, reader.error());
        if (!page.bilevel)
            return Fail(kTiffCannotRead, "page " + std::to_string(index + 1) + " is not a fax page");
        const double xr = page.xResolution > 0 ? page.xResolution : 204;
        const double yr = page.yResolution > 0 ? page.yResolution : 196;
        if (!writer.WriteFaxPage(page.gray, xr, yr, ++number, total))
            return Fail(kTiffCannotWrite, writer.error());
        return kTiffOk;
    };
    for (int i = 0; i < existingCount; ++i)
        if (int r = copy(existing, i); r != kTiffOk) return r;
    for (int i = cmd.firstPage; i <= lastAdded; ++i)
        if (int r = copy(added, i); r != kTiffOk) return r;
    if (!writer.Commit()) return Fail(kTiffCannotWrite, writer.error());
    return kTiffOk;
}

}  // namespace vestrel::doctiff
