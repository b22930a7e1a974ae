#pragma once
// A scanner in a fresh program folder, fed through the real frame grabber, with a
// scripted prompter and a scripted file-name dialog.

#include "CaptureLink.h"
#include "FrameGrabber.h"
#include "ImageCompare.h"
#include "ScriptedPrompter.h"
#include "Scanner.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>

#include <deque>

namespace vestrel::scan::testing {

// What the user types into the file-name dialog, one answer per question.
class ScriptedFileNames final : public FileNameSource {
public:
    std::deque<std::optional<std::string>> answers;
    int asked = 0;
    std::optional<std::string> askFileName() override
    {
        ++asked;
        if (answers.empty()) {
            ADD_FAILURE() << "file-name dialog shown without a scripted answer";
            return std::nullopt;
        }
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
};

class ScanTest : public testkit::ProgramDirTest {
protected:
    ScanTest()
        : settings(DefaultSettings(programDir.path())), frames(grabber),
          scanner(settings, state, prompter, frames, fileNames)
    {
        scanner.setClock([this] { return clock; });
        clock.tm_year = 2026 - 1900;
        clock.tm_mon = 0;
        clock.tm_mday = 3;
        clock.tm_hour = 9;
        clock.tm_min = 5;
        clock.tm_sec = 7;
    }

    // Makes `frame` the camera's newest frame.
    void deliver(const cv::Mat& frame)
    {
        cv::Mat sample = frame.clone();
        grabber.OnFrame(sample, ++timestamp);
    }
    std::filesystem::path photo() const { return programDir / "Photo"; }

    Settings settings;
    ScanState state;
    testkit::ScriptedPrompter prompter;
    ScriptedFileNames fileNames;
    CFrameGrabber grabber;
    GrabberFrameSource frames;
    Scanner scanner;
    std::tm clock{};
    std::int64_t timestamp = 0;
};

}  // namespace vestrel::scan::testing
