#include "DocumentTestSupport.h"
#include "FileFilters.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vestrel::document::test {
namespace {

// Marks each state by the colour of pixel (0, 0) so that Back and Forward can be followed.
void Paint(CxImage& image, int red) { image.SetPixelColor(0, 0, MakeColorRef(red, 0, 0)); }
int Red(const CxImage* image) { return image->GetPixelColor(0, 0).rgbRed; }

using HistoryTest = DocumentTest;

TEST_F(HistoryTest, ThirtyOneEditsKeepTheThirtyNewestStates)
{
    doc->SetImage(ColourPicture());
    for (int edit = 1; edit <= 31; ++edit) {
        doc->PushHistory();
        Paint(*doc->Image(), edit);
    }
    EXPECT_EQ(doc->History().Position(), 30);
    int backs = 0;
    while (doc->CanBack()) {
        doc->OnBack();
        ++backs;
    }
    EXPECT_EQ(backs, 30);
    // The state before edit 1 is gone; the oldest kept is the one after edit 1.
    EXPECT_EQ(Red(doc->Image()), 1);
    for (int i = 0; i < 30; ++i) doc->OnForward();
    EXPECT_EQ(Red(doc->Image()), 31);
    EXPECT_FALSE(doc->CanForward());
}

TEST_F(HistoryTest, AnEditAfterTwoBacksDropsBothRedoStates)
{
    doc->SetImage(ColourPicture());
    for (int edit = 1; edit <= 3; ++edit) {
        doc->PushHistory();
        Paint(*doc->Image(), edit);
    }
    doc->OnBack();
    doc->OnBack();
    EXPECT_EQ(Red(doc->Image()), 1);
    EXPECT_TRUE(doc->CanForward());
    doc->PushHistory();
    Paint(*doc->Image(), 100);
    EXPECT_FALSE(doc->CanForward());
    EXPECT_EQ(doc->History().Position(), 2);
    EXPECT_FALSE(doc->History().HasState(2));
    EXPECT_FALSE(doc->History().HasState(3));
    doc->OnBack();
    EXPECT_EQ(Red(doc->Image()), 1);
}

TEST_F(HistoryTest, CommandsAreInertWhileTheLivePictureIsShownOrWithoutImage)
{
    doc->PushHistory();  // nothing to record
    EXPECT_EQ(doc->History().Position(), 0);
    doc->SetImage(ColourPicture());
    doc->PushHistory();
    EXPECT_TRUE(doc->CanBack());
    live = true;
    EXPECT_FALSE(doc->CanBack());
    EXPECT_FALSE(doc->CanNew());
    EXPECT_FALSE(doc->CanZoomIn());
    doc->OnBack();
    EXPECT_EQ(doc->History().Position(), 1);
}

using ZoomTest = DocumentTest;

TEST_F(ZoomTest, NineStepsOutReachTheLowerLimitAndNinetyInTheUpper)
{
    doc->SetImage(ColourPicture());
    for (int i = 0; i < 9; ++i) {
        EXPECT_TRUE(doc->CanZoomOut()) << i;
        doc->OnZoomOut();
    }
    EXPECT_NEAR(doc->Zoom(), 0.1f, 1e-5f);
    EXPECT_FALSE(doc->CanZoomOut());
    doc->OnZoomOut();
    EXPECT_NEAR(doc->Zoom(), 0.1f, 1e-5f);

    doc->SetZoom(1.0f);
    for (int i = 0; i < 90; ++i) {
        EXPECT_TRUE(doc->CanZoomIn()) << i;
        doc->OnZoomIn();
    }
    EXPECT_NEAR(doc->Zoom(), 10.0f, 1e-4f);
    EXPECT_FALSE(doc->CanZoomIn());
    doc->OnZoomIn();
    EXPECT_NEAR(doc->Zoom(), 10.0f, 1e-4f);
}

TEST_F(ZoomTest, FitToWindowDisablesBothAndZoomResetsTheTools)
{
    doc->SetImage(ColourPicture());
    doc->SelectTool(Tool::Pan);
    for (int i = 0; i < 12; ++i) ASSERT_TRUE(doc->AddLassoPoint({i, 0}));
    doc->OnZoomIn();
    EXPECT_FALSE(doc->ToolOn(Tool::Pan));
    EXPECT_EQ(doc->LassoCount(), 0);
    doc->OnWindowSize();
    EXPECT_FALSE(doc->CanZoomIn());
    EXPECT_FALSE(doc->CanZoomOut());
    const float before = doc->Zoom();
    doc->OnZoomOut();
    EXPECT_EQ(doc->Zoom(), before);
}

TEST(FileTypeTest, ExtensionsDecideTheCode)
{
    EXPECT_EQ(CQuorvanDoc::GetFileType("scan.wbmp"), 9);
    EXPECT_EQ(CQuorvanDoc::GetFileType("scan.BMP"), 1);
    EXPECT_EQ(CQuorvanDoc::GetFileType("book.PDF"), 33);
    EXPECT_EQ(CQuorvanDoc::GetFileType("a.tiff"), 6);
    EXPECT_EQ(CQuorvanDoc::GetFileType("notes.txt"), 0);
}

TEST(FileFilterTest, OpenAndSaveAsLists)
{
    const std::string open = OpenFilter();
    EXPECT_TRUE(open.starts_with("JPG(*.jpg;*.jpeg)|*.jpg;*.jpeg|BMP (*.bmp)|*.bmp|"));
    EXPECT_TRUE(open.ends_with("RAS(*.ras)|*.ras|(*.*)|*.*||"));
    EXPECT_NE(open.find("|\t\tPNG(*.png)|"), std::string::npos);

    const std::string tif = SaveAsFilter(6);
    EXPECT_TRUE(tif.starts_with("TIF(*.tif)|*.tif|JPG(*.jpg;*.jpeg)|"));
    EXPECT_EQ(tif.find("(*.*)"), std::string::npos);
    EXPECT_NE(tif.find("|\t\t\t\tPNM("), std::string::npos);
    EXPECT_TRUE(tif.ends_with("||"));
    EXPECT_TRUE(SaveAsFilter(0).starts_with("JPG("));
    EXPECT_TRUE(SaveAsFilter(33).starts_with("JPG("));
    EXPECT_TRUE(SaveAsFilter(1).starts_with("BMP (*.bmp)|*.bmp|GIF (*.gif)|*.gif|JPG(*.jpg;*.jpeg)|*.jpg;*.jpeg|TIF("));
    EXPECT_TRUE(SaveAsFilter(2).starts_with("GIF (*.gif)|*.gif|JPG("));
    for (int type : {1, 2, 3, 6}) {
        const std::string list = SaveAsFilter(type);
        // All seventeen entries, each once: the reordering loses and repeats none.
        for (const char* label : {"JPG(", "BMP (", "GIF (", "TIF(", "PNG(", "RAS("})
            EXPECT_EQ(list.find(label), list.rfind(label)) << type << " " << label;
        EXPECT_EQ(std::count(list.begin(), list.end(), '|'), 2 * 17 + 1) << type;
    }
    EXPECT_EQ(SaveAsDefaultExtension(1), "bmp");
    EXPECT_EQ(SaveAsDefaultExtension(3), "");
}

}  // namespace
}  // namespace vestrel::document::test
