// Text to fax pages: layout (wrapping, page breaks) and the pages written.

#include <gtest/gtest.h>

#include <opencv2/core.hpp>

#include "FaxTiffCheck.h"
#include "TempProgramDir.h"
#include "TextFax.h"
#include "tamsin.h"

namespace vestrel::tamsin {
namespace {

using doctiff::testing::ExpectFaxPages;
using doctiff::testing::ReadPagePixels;

int InkedRows(const cv::Mat& page)
{
    int rows = 0;
    for (int y = 0; y < page.rows; ++y)
        rows += cv::countNonZero(page.row(y) < 128) > 0 ? 1 : 0;
    return rows;
}

TEST(TextFaxLayout, LongLinesWrapInsideThePageAndLongTextsTakeSeveralPages)
{
    const TextFaxLayout layout;
    std::vector<std::vector<std::u32string>> pages;
    std::string error;
    // About 150 Chinese characters in one line: more than three lines of the page's width.
    std::string chinese;
    for (int i = 0; i < 150; ++i)
        chinese += "传";
    ASSERT_TRUE(LayOutText(chinese, layout, pages, error)) << error;
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_GE(pages[0].size(), 3u);
    std::size_t characters = 0;
    for (const auto& line : pages[0])
        characters += line.size();
    EXPECT_EQ(characters, 150u) << "wrapping loses no character";

    // Words wrap at spaces, not inside a word.
    std::string words;
    for (int i = 0; i < 60; ++i)
        words += "facsimile ";
    ASSERT_TRUE(LayOutText(words, layout, pages, error));
    ASSERT_GE(pages[0].size(), 2u);
    for (const auto& line : pages[0]) {
        EXPECT_EQ(line.substr(0, 9), U"facsimile");
        EXPECT_EQ(line.substr(line.size() - 9), U"facsimile");
    }

    std::string many;
    for (int i = 0; i < 150; ++i)
        many += "line " + std::to_string(i) + "\n";
    ASSERT_TRUE(LayOutText(many, layout, pages, error));
    ASSERT_GE(pages.size(), 2u);
    const std::string next = "line " + std::to_string(pages[0].size());
    EXPECT_EQ(pages[1].front(), std::u32string(next.begin(), next.end())) << "lines continue in order";
    std::size_t lines = 0;
    for (const auto& page : pages)
        lines += page.size();
    EXPECT_EQ(lines, 150u) << "the last line break leaves no empty line or page";
}

TEST(TextFaxLayout, AFormFeedStartsANewPageAndTabsBecomeSpaces)
{
    std::vector<std::vector<std::u32string>> pages;
    std::string error;
    ASSERT_TRUE(LayOutText("one\n\fthree\tfour\n", TextFaxLayout{}, pages, error));
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0], std::vector<std::u32string>{U"one"});
    EXPECT_EQ(pages[1], std::vector<std::u32string>{U"three   four"});
    ASSERT_TRUE(LayOutText("", TextFaxLayout{}, pages, error));
    EXPECT_EQ(pages.size(), 1u) << "an empty text is one blank page";
}

TEST(Text2Tif, WritesInkedFaxPagesAndLeavesTheTargetAloneOnFailure)
{
    testkit::TempProgramDir folder;
    std::string text;
    for (int i = 0; i < 80; ++i)
        text += "第" + std::to_string(i) + "行 传真内容 content of the fax\n";
    const std::string source = folder.writeFile("long.txt", text).string();
    const std::string out = (folder.path() / "long.tif").string();
    auto convert = reinterpret_cast<int (*)(const char*, const char*, int)>(tamsin_proc_by_ordinal(1));
    ASSERT_NE(convert, nullptr);
    EXPECT_EQ(tamsin_proc_by_ordinal(2), nullptr);
    ASSERT_EQ(convert(source.c_str(), out.c_str(), 0), 1);
    ExpectFaxPages(out, 2);
    const cv::Mat first = ReadPagePixels(out, 0);
    ASSERT_FALSE(first.empty());
    EXPECT_GT(InkedRows(first), 1000) << "text covers the page";
    EXPECT_EQ(cv::countNonZero(first.rowRange(0, 90) < 128), 0) << "the top margin stays white";
    EXPECT_EQ(cv::countNonZero(first.colRange(0, 95) < 128), 0) << "the left margin stays white";

    const std::string before = testkit::TempProgramDir::readFile(out);
    EXPECT_EQ(convert((folder.path() / "missing.txt").string().c_str(), out.c_str(), 0), 0);
    EXPECT_EQ(convert(nullptr, out.c_str(), 0), 0);
    EXPECT_EQ(testkit::TempProgramDir::readFile(out), before);
}

}  // namespace
}  // namespace vestrel::tamsin
