#pragma once
// A program folder with a photo folder to fill, a document listing it, a scripted
// prompter, library hooks that record what they were asked, and a $HOME of its own so
// that deletes go to a trash inside the test's folder.

#include "CQuorvanDoc.h"
#include "FreshHome.h"
#include "LibraryHooks.h"
#include "ScriptedPrompter.h"
#include "TempProgramDir.h"

#include <opencv2/core.hpp>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace vestrel::library::test {

// A flat-coloured picture written by OpenCV in the format of the file's extension.
void WritePicture(const std::filesystem::path& file, int width, int height,
                  const cv::Scalar& bgr = cv::Scalar(40, 40, 220));
// Sets the file's last-write time `secondsAgo` seconds before now.
void SetAge(const std::filesystem::path& file, int secondsAgo);

class LibraryTest : public testkit::ProgramDirTest {
protected:
    LibraryTest();
    ~LibraryTest() override;

    std::filesystem::path Photo(const std::string& name) const { return programDir / "Photo" / name; }
    // Writes names[i] as a 400 x 300 picture, the first the oldest.
    void WriteAgedPictures(const std::vector<std::string>& names);
    std::filesystem::path TrashFile(const std::string& name) const;

    testkit::ScriptedPrompter prompter;
    std::unique_ptr<document::CQuorvanDoc> doc;
    int rebuilds = 0;
    bool live = false;
    bool eBookAnswer = true;
    bool idCardAnswer = true;
    std::vector<std::string> calls;           // hooks in the order they ran
    std::vector<std::string> desktopOpened;   // paths handed to the desktop
    bool desktopWorks = true;
    LibraryHooks hooks;

private:
    testkit::FreshHome home_{programDir / "home"};
};

}  // namespace vestrel::library::test
