#pragma once
// A converter test runs in its own program folder, which is also its $TOLVY_ROOT, with
// the real fax printer and HTML service of the build.

#include "Doc2TifConverter.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>

#include <string>

namespace vestrel::doctiff::testing {

class ConverterTest : public testkit::ProgramDirTest {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string Path(const std::string& name) const { return (programDir / name).string(); }
    // Options for this build's programs; the HTML service on a free port of its own.
    ConverterOptions Options() const;
    std::string WriteJpg(const std::string& name, int width, int height) const;
    std::string WriteLandscapeTiff(const std::string& name) const;
    std::string WriteText(const std::string& name, const std::string& text) const;
    // A Word document made by LibreOffice from a text file.
    std::string WriteDoc(const std::string& name, const std::string& text) const;
    std::string WriteScript(const std::string& name, const std::string& body) const;

private:
    std::string previousRoot_;
    bool hadRoot_ = false;
};

int FreeLoopbackPort();

}  // namespace vestrel::doctiff::testing
