// Edits offered for saving before the picture is replaced: the save works whichever view is
// shown, and one that fails or is cancelled stops what asked for it.
#include "DocumentMessages.h"
#include "DocumentTestSupport.h"

#include <gtest/gtest.h>

namespace vestrel::document::test {
namespace {
namespace fs = std::filesystem;

class SaveBeforeReplaceTest : public DocumentTest {
protected:
    // An edited picture that has no file yet: Yes to the question leads to Save As.
    void EditUnnamedPicture()
    {
        doc->SetImage(ColourPicture());
        doc->SetPath("");
        doc->PushHistory();
        doc->Image()->Negative();
        shown = doc->Image()->Dump();
    }
    std::vector<std::uint8_t> shown;
};

TEST_F(SaveBeforeReplaceTest, SaveWritesTheStillPictureWhileTheLivePictureIsShown)
{
    doc->SetPath(Photo("page.png"));
    doc->SetImage(ColourPicture());
    doc->PushHistory();
    doc->Image()->Negative();
    live = true;
    ASSERT_TRUE(doc->Save());
    EXPECT_TRUE(fs::exists(Photo("page.png")));
    EXPECT_EQ(CxImage(Photo("page.png"), CXIMAGE_FORMAT_PNG).Pixels().at<cv::Vec3b>(0, 0),
              doc->Image()->Pixels().at<cv::Vec3b>(0, 0));
    EXPECT_EQ(doc->History().Position(), 0);
}

TEST_F(SaveBeforeReplaceTest, ACancelledSaveStopsOpenAndTheDrop)
{
    const std::string other = WritePicture(Photo("other.png"));
    EditUnnamedPicture();
    prompter.answerFiles(std::vector<std::string>{other}).answer(Answer::Yes).answerPath(std::nullopt);
    doc->OnFileOpen();
    EXPECT_EQ(doc->Image()->Dump(), shown);
    EXPECT_EQ(doc->History().Position(), 1);

    prompter.answer(Answer::Yes).answerPath(std::nullopt);
    EXPECT_FALSE(doc->OpenDropped(other));
    EXPECT_EQ(doc->Image()->Dump(), shown);
    EXPECT_EQ(doc->History().Position(), 1);
    EXPECT_NE(doc->CurrentPath(), other);
}

TEST_F(SaveBeforeReplaceTest, AFailedWriteStopsOpenToo)
{
    const std::string other = WritePicture(Photo("other.png"));
    doc->SetImage(ColourPicture());
    doc->SetPath((programDir / "gone" / "page.png").string());  // a folder that is not there
    doc->PushHistory();
    doc->Image()->Negative();
    shown = doc->Image()->Dump();
    prompter.answerFiles(std::vector<std::string>{other}).answer(Answer::Yes);
    doc->OnFileOpen();
    EXPECT_EQ(doc->Image()->Dump(), shown);
    EXPECT_EQ(doc->History().Position(), 1);
}

}  // namespace
}  // namespace vestrel::document::test
