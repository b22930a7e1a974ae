#pragma once
// The steps of the two-sided ID-card copy. While the copy mode is on, each scan request
// (the scan command, a tick of the timed scan, the copy tool window) takes one side of the
// card from the newest frame and pastes it onto the page of IdCardPage.h:
//   step 1, the front: a new page under a time name (YY-MM-DD-HH-MM-SS), stored as it is;
//   step 2, the back: the page is finished by the processing chain without its crop
//   (turning, grey, stamp, background, deskew, binarisation) and replaces its step-1 file.
// The copier keeps the page itself, unprocessed, so a further back side taken at step 2
// lands on the clean page and the chain runs on it once, never on its own result.

#include "CxImage.h"
#include "IdCardPage.h"
#include "Prompter.h"
#include "ScanSeams.h"
#include "Settings.h"

#include <ctime>
#include <filesystem>
#include <functional>
#include <string>

namespace vestrel::scan {

enum class CopyStepStatus {
    FrontPlaced,  // step 1 done: the page is stored with the front, the next side is the back
    BackPlaced,   // step 2 done: the finished page is stored
    TooLarge,     // the scan area does not fit twice on the page: nothing stored
    Failed,       // no frame, or the page could not be stored; the user has been told
};

struct CopyStepOutcome {
    CopyStepStatus status = CopyStepStatus::Failed;
    std::filesystem::path path;  // the page file (FrontPlaced, BackPlaced)
    std::string message;         // what the user was told (TooLarge, Failed)
};

// What follows a copy step in the window. Each may be left empty.
struct CopyEvents {
    std::function<void()> playShutter;                             // res/sound.wav
    std::function<void(const CxImage& page)> showPage;             // the page with the front
    std::function<void(const std::filesystem::path&)> openPage;    // the finished page file
    std::function<void()> refreshLibrary;
    std::function<void()> redrawInformation;
};

class IdCardCopier final : public IdCardCopy {
public:
    IdCardCopier(const Settings& settings, Prompter& prompter, FrameSource& camera);

    void setEvents(CopyEvents events) { events_ = std::move(events); }
    // The local time used for the page's name and the date stamp (tests fix it).
    void setClock(std::function<std::tm()> clock) { clock_ = std::move(clock); }

    // The scan command and the timed tick while the mode is on.
    void nextStep() override { step(); }
    // One step on the side the copy has reached. A back side keeps the step at 2, so a
    // further scan replaces the back on the same page.
    CopyStepOutcome step();
    // The tool window's "back side" button: one step, then the next card starts a page.
    CopyStepOutcome finishCard();
    // The mode starts or ends: the next side is a front, and the page is let go.
    void reset();

    CardSide nextSide() const { return side_; }
    const std::filesystem::path& pageFile() const { return pageFile_; }
    const CxImage& page() const { return page_; }

private:
    CopyStepOutcome fail(CopyStepStatus status, const std::string& text);
    // The page's file name in the photo folder, never one that is taken.
    std::filesystem::path newPageFile() const;
    bool storeFront();
    bool storeBack();

    const Settings& settings_;
    Prompter& prompter_;
    FrameSource& camera_;
    CopyEvents events_;
    std::function<std::tm()> clock_;
    CardSide side_ = CardSide::Front;
    CxImage page_;                  // the page as pasted, before the chain
    std::filesystem::path pageFile_;
    std::tm pageTime_{};            // when the page was started
    std::string lastError_;
};

}  // namespace vestrel::scan
