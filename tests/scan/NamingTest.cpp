#include "FileNaming.h"

#include <gtest/gtest.h>

#include <set>

namespace vestrel::scan {
namespace {

NamingInput Mode(int mode)
{
    NamingInput in;
    in.mode = mode;
    in.bookname = "book";
    return in;
}

TEST(PadNumber, FourDigitsForOneToNineHundredNinetyNine)
{
    EXPECT_EQ(PadNumber(1), "0001");
    EXPECT_EQ(PadNumber(9), "0009");
    EXPECT_EQ(PadNumber(10), "0010");
    EXPECT_EQ(PadNumber(99), "0099");
    EXPECT_EQ(PadNumber(100), "0100");
    EXPECT_EQ(PadNumber(999), "0999");
    EXPECT_EQ(PadNumber(1000), "1000");
    EXPECT_EQ(PadNumber(12345), "12345");
    EXPECT_EQ(PadNumber(0), "0");
    EXPECT_EQ(PadNumber(-3), "-3");
}

TEST(NamingModes, SerialStartsAtOneAndReachesImage1000)
{
    ScanCounters c;
    EXPECT_EQ(NextGeneratedName(Mode(kNameSerial), c), "Image0001");
    c.serial = 999;
    EXPECT_EQ(NextGeneratedName(Mode(kNameSerial), c), "Image1000");
    EXPECT_EQ(c.serial, 1000);
}

TEST(NamingModes, SequentialAfterTwoOddScansContinuesWithFourThenEvenGivesSix)
{
    ScanCounters c;
    EXPECT_EQ(NextGeneratedName(Mode(kNameOdd), c), "book0001");
    EXPECT_EQ(NextGeneratedName(Mode(kNameOdd), c), "book0003");
    EXPECT_EQ(NextGeneratedName(Mode(kNameSequential), c), "book0004");
    EXPECT_EQ(NextGeneratedName(Mode(kNameEven), c), "book0006");
    // From fresh counters the sequence runs 1, 2, 3 ...
    ScanCounters fresh;
    EXPECT_EQ(NextGeneratedName(Mode(kNameSequential), fresh), "book0001");
    EXPECT_EQ(NextGeneratedName(Mode(kNameSequential), fresh), "book0002");
    EXPECT_EQ(NextGeneratedName(Mode(kNameSequential), fresh), "book0003");
}

TEST(NamingModes, TimeNameIsTwoDigitFieldsJoinedByHyphens)
{
    NamingInput in = Mode(kNameTime);
    in.localTime.tm_year = 2026 - 1900;
    in.localTime.tm_mon = 0;
    in.localTime.tm_mday = 3;
    in.localTime.tm_hour = 9;
    in.localTime.tm_min = 5;
    in.localTime.tm_sec = 7;
    ScanCounters c;
    EXPECT_EQ(NextGeneratedName(in, c), "26-01-03-09-05-07");
    EXPECT_EQ(c, ScanCounters{});
}

TEST(NamingModes, BookScanningTakesTheNumberBeforeCounting)
{
    NamingInput in = Mode(kNameCustom);
    in.bookScanning = true;
    in.timedBookName = "合同";
    ScanCounters c;
    EXPECT_EQ(NextGeneratedName(in, c), "合同0");
    EXPECT_EQ(NextGeneratedName(in, c), "合同0001");
    EXPECT_EQ(c.book, 2);
}

TEST(NamingModes, UnknownStoredModeNamesLikeTheSerialDefault)
{
    ScanCounters c;
    EXPECT_EQ(NextGeneratedName(Mode(0), c), "Image0001");
    EXPECT_EQ(NextGeneratedName(Mode(9), c), "Image0002");
}

TEST(FreeName, NeverReusesATakenName)
{
    const std::set<std::string> folder{"Image0001", "Image0002", "book0005", "scan", "scan_2",
                                       "26-01-03-09-05-07"};
    const auto taken = [&](const std::string& n) { return folder.count(n) > 0; };

    ScanCounters c;
    NamingInput serial = Mode(kNameSerial);
    auto name = FreeName(NextGeneratedName(serial, c), serial, c, taken);
    EXPECT_EQ(name, "Image0003");
    EXPECT_EQ(c.serial, 3) << "the counter moves on with the name";

    c.odd = 3;
    NamingInput odd = Mode(kNameOdd);
    EXPECT_EQ(FreeName(NextGeneratedName(odd, c), odd, c, taken), "book0007");

    NamingInput typed = Mode(kNameCustom);
    EXPECT_EQ(FreeName("scan", typed, c, taken), "scan_3");
    EXPECT_EQ(FreeName("other", typed, c, taken), "other");

    NamingInput time = Mode(kNameTime);
    EXPECT_EQ(FreeName("26-01-03-09-05-07", time, c, taken), "26-01-03-09-05-07_2");

    const auto everything = [](const std::string&) { return true; };
    EXPECT_EQ(FreeName("x", typed, c, everything), std::nullopt);
}

}  // namespace
}  // namespace vestrel::scan
