#include "IdCardCopier.h"

#include "FileNaming.h"
#include "NewFile.h"
#include "ProcessingChain.h"
#include "ScanMessages.h"
#include "Scanner.h"

namespace vestrel::scan {
namespace {

// A PDF cannot hold the page for the next side: such pages are kept as bitmaps.
std::string PageExtension(const std::string& foramt)
{
    return GetFileType(foramt) == CXIMAGE_FORMAT_PDF ? ".bmp" : foramt;
}

// The format the page is written in; an extension that names no image format holds a
// bitmap, as an ordinary scan with such an extension does.
int PageFormat(const std::filesystem::path& file)
{
    const int type = GetFileType(file.filename().string());
    return type == CXIMAGE_FORMAT_UNKNOWN ? CXIMAGE_FORMAT_BMP : type;
}

bool SaveWithFallback(CxImage& image, const std::filesystem::path& scratch, int type)
{
    return image.Save(scratch, type) || (type != CXIMAGE_FORMAT_BMP && image.Save(scratch, CXIMAGE_FORMAT_BMP));
}

}  // namespace

IdCardCopier::IdCardCopier(const Settings& settings, Prompter& prompter, FrameSource& camera)
    : settings_(settings), prompter_(prompter), camera_(camera), clock_(LocalTimeNow)
{
}

void IdCardCopier::reset()
{
    side_ = CardSide::Front;
    page_.Destroy();
    pageFile_.clear();
}

CopyStepOutcome IdCardCopier::finishCard()
{
    CopyStepOutcome outcome = step();
    if (outcome.status == CopyStepStatus::BackPlaced) side_ = CardSide::Front;
    return outcome;
}

CopyStepOutcome IdCardCopier::step()
{
    if (!FitsCopyPage(CopyArea(settings_))) return fail(CopyStepStatus::TooLarge, messages::kCardTooLarge);

    cv::Mat frame;
    if (!camera_.copyNewestFrame(frame) || frame.empty()) return fail(CopyStepStatus::Failed, messages::kNoFrame);
    // A page started elsewhere and lost (a back side without a front) starts afresh.
    const CardSide side = page_.IsValid() ? side_ : CardSide::Front;
    const CxImage card = CardFromFrame(frame, settings_);
    if (!card.IsValid()) return fail(CopyStepStatus::Failed, messages::kNoFrame);
    // A camera that delivers another size than config.ini names may make the area larger.
    if (!FitsCopyPage({0, 0, card.GetWidth(), card.GetHeight()}))
        return fail(CopyStepStatus::TooLarge, messages::kCardTooLarge);

    CxImage page = side == CardSide::Front ? NewCopyPage() : page_;
    if (events_.playShutter) events_.playShutter();
    PlaceCard(page, card, side);

    // The copier's page changes only once its file is stored: a failed side leaves the
    // copy where it was.
    std::swap(page_, page);
    const std::filesystem::path previousFile = pageFile_;
    if (side == CardSide::Front) {
        pageTime_ = clock_();
        pageFile_ = newPageFile();
    }
    if (!(side == CardSide::Front ? storeFront() : storeBack())) {
        const std::string text = std::string(messages::kScanNotStored) + pageFile_.string() +
                                 (lastError_.empty() ? "" : " (" + lastError_ + ")");
        std::swap(page_, page);
        pageFile_ = previousFile;
        return fail(CopyStepStatus::Failed, text);
    }
    if (side == CardSide::Front) {
        side_ = CardSide::Back;
        if (events_.showPage) events_.showPage(page_);
    } else if (events_.openPage) {
        events_.openPage(pageFile_);
    }
    if (events_.redrawInformation) events_.redrawInformation();
    if (events_.refreshLibrary) events_.refreshLibrary();
    return {side == CardSide::Front ? CopyStepStatus::FrontPlaced : CopyStepStatus::BackPlaced, pageFile_, {}};
}

std::filesystem::path IdCardCopier::newPageFile() const
{
    const std::filesystem::path folder(settings_.path);
    const std::string extension = PageExtension(settings_.foramt);
    NamingInput naming;
    naming.mode = kNameTime;
    naming.localTime = pageTime_;
    ScanCounters unused;
    const std::optional<std::string> name =
        FreeName(TimeName(pageTime_), naming, unused, TakenInFolder(folder, extension));
    return folder / (name.value_or(TimeName(pageTime_)) + extension);
}

bool IdCardCopier::storeFront()
{
    lastError_.clear();
    CxImage page = page_;
    const int type = PageFormat(pageFile_);
    if (type == CXIMAGE_FORMAT_JPG) page.SetJpegQualityF(static_cast<float>(settings_.jpgquality));
    const NewFileResult result = StoreNewFile(
        pageFile_, [&](const std::filesystem::path& p) { return SaveWithFallback(page, p, type); },
        &lastError_);
    if (result == NewFileResult::TargetExists) lastError_ = "File exists";
    return result == NewFileResult::Stored;
}

bool IdCardCopier::storeBack()
{
    lastError_.clear();
    const int type = PageFormat(pageFile_);
    ChainInput input{&settings_, 0, clock_(), ChainKind::MainCamera};
    input.cropToScanArea = false;
    CxImage finished;
    if (!ProcessScan(page_.ToBgr().clone(), type, input, finished)) {
        lastError_ = "no picture";
        return false;
    }
    return StoreReplacingFile(
        pageFile_, [&](const std::filesystem::path& p) { return SaveWithFallback(finished, p, type); },
        &lastError_);
}

CopyStepOutcome IdCardCopier::fail(CopyStepStatus status, const std::string& text)
{
    prompter_.message(text, {}, status == CopyStepStatus::TooLarge ? MessageKind::Warning : MessageKind::Error);
    return {status, {}, text};
}

}  // namespace vestrel::scan
