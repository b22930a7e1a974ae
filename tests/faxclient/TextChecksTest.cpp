#include <gtest/gtest.h>

#include <cstring>

#include "TextChecks.h"
#include "TextSlots.h"

namespace vestrel::fax {
namespace {

TEST(TextChecks, FaxNumbersAreDigitsAndHyphens)
{
    EXPECT_TRUE(FaxNumberCharactersValid("010-87654321"));
    EXPECT_TRUE(FaxNumberCharactersValid(""));
    EXPECT_FALSE(FaxNumberCharactersValid("+8610123"));
    EXPECT_FALSE(FaxNumberCharactersValid("010 123"));
    EXPECT_FALSE(FaxNumberCharactersValid("12a"));
}

TEST(TextChecks, DocumentTypeLooksAtTheLastFourCharactersInAnyCase)
{
    for (const char* ok : {"a.tif", "A.TIF", "photo.Jpg", "x.doc", "x.XLS", "x.pdf", "x.ppt", "x.bmp", "x.gif"})
        EXPECT_TRUE(DocumentTypeAccepted(ok)) << ok;
    for (const char* bad : {"a.tiff", "a.png", "tif", "", "a.docx"})
        EXPECT_FALSE(DocumentTypeAccepted(bad)) << bad;
    EXPECT_EQ(SendRemoteName("J00000042", "/home/u/Page.Jpg"), "SendFax\\J00000042.Jpg");
}

TEST(TextChecks, ReceivedFaxNameIsTheLastComponentAndNeverLeavesTheFolder)
{
    EXPECT_EQ(ReceivedFaxFileName("RecvFax\\a.tif").value(), "a.tif");
    EXPECT_EQ(ReceivedFaxFileName("a.tif").value(), "a.tif");
    EXPECT_EQ(ReceivedFaxFileName("RecvFax\\..\\..\\etc/passwd").value(), "passwd");
    EXPECT_EQ(ReceivedFaxFileName("../../x.tif").value(), "x.tif");
    for (const char* refused : {"", "RecvFax\\", "RecvFax\\..", "RecvFax/.", "..", "a\nb.tif", "a\x7f"})
        EXPECT_FALSE(ReceivedFaxFileName(refused).has_value()) << refused;
    EXPECT_EQ(AfterLastBackslash("RecvFax\\sub\\a.tif"), "a.tif");
}

TEST(TextSlots, CopiesAreCutAndTerminatedInsideTheSlot)
{
    char slot[8];
    std::memset(slot, 'Z', sizeof(slot));
    CopyToSlot(slot, "0123456789");
    EXPECT_STREQ(slot, "0123456");
    CopyToSlot(slot, "ab");
    EXPECT_EQ(std::memcmp(slot, "ab\0\0\0\0\0\0", 8), 0);
    const char unterminated[4] = {'w', 'x', 'y', 'z'};
    EXPECT_EQ(SlotText(unterminated), "wxyz");
    EXPECT_TRUE(TextFits("12345678901", 11));
    EXPECT_FALSE(TextFits("123456789012", 11));
    EXPECT_FALSE(TextFits(nullptr, 11));
}

}  // namespace
}  // namespace vestrel::fax
