#include "CounterRecount.h"
#include "PhotoFolderListing.h"
#include "FileNaming.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

namespace vestrel::scan {
namespace {

namespace fs = std::filesystem;

class PhotoFolderListingTest : public testkit::ProgramDirTest {
protected:
    fs::path photo() const { return programDir / "Photo"; }
    // A file whose last write lies `minutesAgo` in the past.
    void touch(const std::string& name, int minutesAgo)
    {
        const fs::path p = photo() / name;
        std::ofstream(p) << "x";
        fs::last_write_time(p, fs::file_time_type::clock::now() - std::chrono::minutes(minutesAgo));
    }
};

TEST_F(PhotoFolderListingTest, ListsImagesAndPdfsOldestFirstAndSkipsTheRest)
{
    touch("b.jpg", 5);
    touch("a.PNG", 10);
    touch("doc.pdf", 1);
    touch("notes.txt", 20);
    touch("noextension", 20);
    fs::create_directory(photo() / "folder.jpg");
    const PhotoListing listing = ListPhotoFolder(photo());
    EXPECT_EQ(listing.names, (std::vector<std::string>{"a.PNG", "b.jpg", "doc.pdf"}));
    ASSERT_EQ(listing.times.size(), 3u);
    EXPECT_EQ(listing.times[0].size(), 14u);
    EXPECT_LT(listing.times[0], listing.times[1]);
}

TEST_F(PhotoFolderListingTest, CountersComeFromTheNamesOfOddFiles)
{
    touch("Image0007.jpg", 3);
    touch("Image12345x.jpg", 2);   // five characters after "Image": 12345
    touch("Image0900.txt", 2);     // not an image: ignored
    touch("book0003.JPG", 1);
    touch("book0010.bmp", 1);
    touch("bookmark.png", 1);      // no number: 0, even
    fs::create_directory(photo() / "Image99999");
    ScanCounters c;
    c.book = 4;
    RecountFromFolder(photo(), "book", kNameSequential, c);
    EXPECT_EQ(c.serial, 12345);
    EXPECT_EQ(c.odd, 3);
    EXPECT_EQ(c.even, 10);
    EXPECT_EQ(c.book, 4) << "the book counter is not recomputed";

    // Mode 4 only looks at odd numbers, mode 5 only at even ones.
    RecountFromFolder(photo(), "book", kNameOdd, c);
    EXPECT_EQ(c.odd, 3);
    EXPECT_EQ(c.even, 0);
    RecountFromFolder(photo(), "book", kNameEven, c);
    EXPECT_EQ(c.odd, -1);
    EXPECT_EQ(c.even, 10);
}

TEST_F(PhotoFolderListingTest, SerialNumberingFollowsTheFolder)
{
    ScanCounters c;
    c.serial = 41;
    RecountFromFolder(photo(), "book", kNameSerial, c);
    EXPECT_EQ(c.serial, 0) << "an empty folder starts again";
    NamingInput in;
    in.mode = kNameSerial;
    EXPECT_EQ(NextGeneratedName(in, c), "Image0001");

    touch("Image0007.jpg", 1);
    RecountFromFolder(photo(), "book", kNameSerial, c);
    EXPECT_EQ(NextGeneratedName(in, c), "Image0008");
}

TEST_F(PhotoFolderListingTest, MissingFolderListsNothing)
{
    ScanCounters c{3, 5, 7, 8};
    EXPECT_TRUE(ListPhotoFolder(programDir / "nowhere").names.empty());
    RecountFromFolder(programDir / "nowhere", "book", kNameSequential, c);
    EXPECT_EQ(c, (ScanCounters{3, 0, -1, 0}));
}

}  // namespace
}  // namespace vestrel::scan
