#include "IniFile.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>

using vestrel::IniFile;
using vestrel::testkit::ProgramDirTest;
using vestrel::testkit::TempProgramDir;

namespace {

IniFile parsed(const std::string& text)
{
    IniFile ini("unused.ini");
    ini.parse(text);
    return ini;
}

TEST(IniFileRead, NamesCompareWithoutCaseAndLimitsCutValues)
{
    const IniFile ini = parsed("[custom]\nSIZE=12\nInterTime=10000\nname=  \"quoted\"  \n");
    EXPECT_EQ(ini.readString("Custom", "size", "", 1), "1");
    EXPECT_EQ(ini.readInt("Custom", "size", 0, 1), 1);
    EXPECT_EQ(ini.readInt("CUSTOM", "intertime", 4, 4), 1000);
    EXPECT_EQ(ini.readString("Custom", "name", "", 100), "quoted");
    EXPECT_EQ(ini.readString("Custom", "missing", "fallback", 100), "fallback");
    EXPECT_EQ(ini.readInt("Nowhere", "size", 7, 4), 7);
}

TEST(IniFileRead, NumbersFollowAtoiRules)
{
    const IniFile ini = parsed("[A]\na=42abc\nb=abc\nc=-17\nd= +8\ne=\nf=99999999999999\n");
    EXPECT_EQ(ini.readInt("A", "a", -1, 10), 42);
    EXPECT_EQ(ini.readInt("A", "b", -1, 10), 0);
    EXPECT_EQ(ini.readInt("A", "c", -1, 10), -17);
    EXPECT_EQ(ini.readInt("A", "d", -1, 10), 8);
    EXPECT_EQ(ini.readInt("A", "e", -1, 10), 0);  // present but empty: not the default
    EXPECT_EQ(ini.readInt("A", "f", -1, 100), INT_MAX);
}

TEST(IniFileRead, CutsUtf8AtCharactersNotBytes)
{
    const IniFile ini = parsed("[Name]\nbookname=书本abc\n");
    EXPECT_EQ(ini.readString("Name", "bookname", "", 1), "书");
    EXPECT_EQ(ini.readString("Name", "bookname", "", 3), "书本a");
}

TEST(IniFileRead, SurvivesGarbageCrlfAndDuplicateSections)
{
    const IniFile ini = parsed("\xEF\xBB\xBFjunk line\r\n=novalue\r\n[Other\r\n[Other]\r\n"
                               "jpgquality=100\r\n; comment=5\r\n[Other]\r\njpgquality=1\r\n");
    EXPECT_EQ(ini.readInt("Other", "jpgquality", 80, 4), 100);
    EXPECT_FALSE(ini.contains("Other", "; comment"));
}

TEST(IniFileWrite, ReplacesOneValueAndKeepsEverythingElse)
{
    IniFile ini = parsed("; kept comment\r\n[Custom]\r\nSize=3\r\nstate=1\r\n\r\n[Other]\r\nx=y\r\n");
    ini.writeInt("custom", "size", 5);
    ini.writeString("Custom", "foramt", ".tif");
    ini.writeString("Pdf", "SavePath", "/tmp/out/");
    EXPECT_EQ(ini.text(),
              "; kept comment\r\n[Custom]\r\nSize=5\r\nstate=1\r\nforamt=.tif\r\n\r\n[Other]\r\nx=y\r\n"
              "\r\n[Pdf]\r\nSavePath=/tmp/out/\r\n");
}

TEST(IniFileWrite, AValueCannotSmuggleInAnotherKey)
{
    IniFile ini = parsed("");
    ini.writeString("Name", "bookname", "a\nname=9");
    EXPECT_EQ(ini.readInt("Name", "name", 3, 1), 3);
}

TEST_F(ProgramDirTest, FirstSaveCreatesTheFileAndReloadReadsIt)
{
    const auto path = programDir / "sub dir 中文/config.ini";
    std::filesystem::create_directories(path.parent_path());
    IniFile ini(path);
    ASSERT_TRUE(ini.load());  // missing file: empty document
    ini.writeString("Other", "path", std::string(10 * 1024, 'x'));
    ASSERT_TRUE(ini.save());

    IniFile again(path);
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.readString("Other", "path", "", 100000).size(), 10u * 1024);
    EXPECT_EQ(again.readString("Other", "path", "", 260).size(), 260u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(path.parent_path()), {}), 1)
        << "no temporary file may stay behind";
}

TEST_F(ProgramDirTest, SaveIntoAReadOnlyFolderFailsAndKeepsTheOldFile)
{
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    const auto path = programDir.writeFile("ro/config.ini", "[A]\nk=old\n");
    std::filesystem::permissions(path.parent_path(), std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::owner_exec);
    IniFile ini(path);
    ASSERT_TRUE(ini.load());
    ini.writeString("A", "k", "new");
    EXPECT_FALSE(ini.save());
    EXPECT_EQ(TempProgramDir::readFile(path), "[A]\nk=old\n");
}

}  // namespace
