#pragma once
// A document in a fresh program folder with a scripted prompter, and small colour pictures.

#include "CQuorvanDoc.h"
#include "FreshHome.h"
#include "ScriptedPrompter.h"
#include "TempProgramDir.h"

#include <filesystem>
#include <memory>
#include <string>

namespace vestrel::document::test {

// A 24-bit picture with a red left half and a blue right half.
std::unique_ptr<CxImage> ColourPicture(int width = 40, int height = 30);

class DocumentTest : public testkit::ProgramDirTest {
protected:
    DocumentTest();
    std::string Photo(const std::string& name) const;
    // Writes a colour picture to `path` and returns it.
    std::string WritePicture(const std::string& path) const;

    testkit::ScriptedPrompter prompter;
    bool live = false;
    int libraryRebuilds = 0;
    int stillViewSwitches = 0;  // the live picture was left
    int infoRepaints = 0;
    int textBoxCloses = 0;
    std::pair<int, int> viewSize{1000, 1000};
    std::unique_ptr<CQuorvanDoc> doc;
};

using testkit::FreshHome;

}  // namespace vestrel::document::test
