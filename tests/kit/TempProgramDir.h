#pragma once
// A fresh program folder for one test: a temporary directory with the folders the program
// expects (Photo/, temp/, temp/temp/, Sign/, Stamp/, OCR/, PDF/, res/) and the shipped
// button and tool-bar pictures (res/icons, a link to the source's), made the program
// directory through $VESTREL_HOME for the test's lifetime and removed afterwards.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace vestrel::testkit {

class TempProgramDir {
public:
    TempProgramDir();
    ~TempProgramDir();
    TempProgramDir(const TempProgramDir&) = delete;
    TempProgramDir& operator=(const TempProgramDir&) = delete;

    const std::filesystem::path& path() const { return root_; }
    std::filesystem::path operator/(const std::string& relative) const { return root_ / relative; }

    // Writes a text file below the folder (creating its parent folders).
    std::filesystem::path writeFile(const std::string& relative, const std::string& content) const;
    static std::string readFile(const std::filesystem::path& path);

private:
    std::filesystem::path root_;
    std::string previousHome_;
    bool hadHome_ = false;
};

// A fixture whose every test runs in its own program folder.
class ProgramDirTest : public ::testing::Test {
protected:
    TempProgramDir programDir;
};

// Folder of the checked-in test files (tests/data).
std::filesystem::path TestDataDir();

}  // namespace vestrel::testkit
