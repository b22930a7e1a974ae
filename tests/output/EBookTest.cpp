#include "EBook.h"
#include "PdfMessages.h"
#include "PdfTestTools.h"
#include "ScriptedPrompter.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vestrel::output {
namespace {

class EBookTest : public testkit::ProgramDirTest {
protected:
    std::filesystem::path photo() const { return programDir / "Photo"; }
    testkit::ScriptedPrompter prompter;
};

TEST_F(EBookTest, FourScansMakeOneBookValidAfterEveryPage)
{
    const auto scratch = programDir / "temp" / "pdf.jpg";
    EBook book;
    book.start();
    const char* names[] = {"first.pdf", "second.pdf", "third.pdf", "fourth.pdf"};
    const int widths[] = {640, 480, 1000, 300};
    for (int page = 0; page < 4; ++page) {
        testkit::writeJpeg(scratch, widths[page], 400);
        ASSERT_TRUE(book.addPage(photo(), names[page], scratch, prompter));
        EXPECT_EQ(book.pageCount(), page + 1);
        std::string report;
        EXPECT_TRUE(testkit::qpdfAccepts(photo() / "first.pdf", &report)) << report;
        EXPECT_EQ(testkit::pageCount(photo() / "first.pdf"), page + 1);
    }
    EXPECT_EQ(book.path(), photo() / "first.pdf");
    book.finish();
    EXPECT_FALSE(book.composing());
    EXPECT_EQ(book.pageCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(photo() / "second.pdf"));
    const auto sizes = testkit::pageSizes(photo() / "first.pdf");
    ASSERT_EQ(sizes.size(), 4u);
    EXPECT_EQ(sizes[3], std::make_pair(300.0, 400.0));  // later pages take the image's size too
    EXPECT_TRUE(testkit::qpdfAccepts(photo() / "first.pdf"));
    EXPECT_TRUE(prompter.shown().empty());

    // A new book starts afresh.
    book.start();
    ASSERT_TRUE(book.addPage(photo(), "again.pdf", scratch, prompter));
    book.finish();
    EXPECT_EQ(testkit::pageCount(photo() / "again.pdf"), 1);
}

TEST_F(EBookTest, BookThatCannotBeCreatedStopsWithAMessage)
{
    const auto scratch = testkit::writeJpeg(programDir / "temp" / "pdf.jpg", 64, 64);
    EBook book;
    book.start();
    EXPECT_FALSE(book.addPage(programDir / "gone", "book.pdf", scratch, prompter));
    EXPECT_FALSE(book.composing());
    EXPECT_EQ(book.pageCount(), 0);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text.rfind(kEBookCreateFailed, 0), 0u);
}

TEST_F(EBookTest, UnreadableScanAddsNoPageAndOpenBookIsFinishedAtTheEnd)
{
    const auto scratch = programDir / "temp" / "pdf.jpg";
    {
        EBook book;
        book.start();
        testkit::writeJpeg(scratch, 64, 64);
        ASSERT_TRUE(book.addPage(photo(), "book.pdf", scratch, prompter));
        std::ofstream(scratch, std::ios::binary) << "broken";
        EXPECT_FALSE(book.addPage(photo(), "x.pdf", scratch, prompter));
        EXPECT_EQ(book.pageCount(), 1);
        // Going out of scope with the book open (the program ending) finishes it.
    }
    EXPECT_EQ(testkit::pageCount(photo() / "book.pdf"), 1);
    EXPECT_TRUE(testkit::qpdfAccepts(photo() / "book.pdf"));

    // A book whose only scan was unreadable leaves no empty file.
    EBook book;
    book.start();
    EXPECT_FALSE(book.addPage(photo(), "empty.pdf", scratch, prompter));
    book.finish();
    EXPECT_FALSE(std::filesystem::exists(photo() / "empty.pdf"));
}

}  // namespace
}  // namespace vestrel::output
