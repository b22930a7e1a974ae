#include "IniFile.h"
#include "ProgramDir.h"
#include "Settings.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>

using namespace vestrel;
using testkit::ProgramDirTest;
using testkit::TempProgramDir;

namespace {

Settings loadFrom(const std::string& text, Settings start = DefaultSettings("/prog"))
{
    IniFile ini("unused.ini");
    ini.parse(text);
    LoadConfig(ini, "/prog", start);
    return start;
}

std::string savedText(const Settings& s, const std::string& before = "")
{
    IniFile ini("unused.ini");
    ini.parse(before);
    SaveConfig(s, ini);
    return ini.text();
}

TEST(Settings, MissingFileGivesTheDefaultsTable)
{
    const Settings s = loadFrom("");
    EXPECT_EQ(s, DefaultSettings("/prog"));
    EXPECT_EQ(s.path, "/prog/Photo/");
    EXPECT_EQ(s.vid, "18ec");
    EXPECT_EQ(s.foramt, ".jpg");
    EXPECT_EQ(s.name, 3);
    EXPECT_EQ(s.intertime, 4);
}

TEST(Settings, ReadLimitsOfTheStoredKeys)
{
    const Settings s = loadFrom("[Custom]\nsize=12\n[Other]\njpgquality=100\nintertime=9999\n");
    EXPECT_EQ(s.size, 1);
    EXPECT_EQ(s.jpgquality, 100);
    EXPECT_EQ(s.intertime, 9999);
    EXPECT_EQ(loadFrom("[Other]\nintertime=10000\n").intertime, 1000);
    EXPECT_EQ(loadFrom("[Other]\nvid=1234abcdef\n").vid, "1234abc");
}

TEST(Settings, FormatAndBookNameThatWouldLeaveThePhotoFolderAreRefused)
{
    // Both become part of every stored file's name; a hand-edited config.ini must not be
    // able to send scans elsewhere. Refused values fall back to the defaults, with a line
    // in the log.
    for (const std::string foramt : {"/../x.jpg", ".jpg/..", "..", ".j/pg", "jpg", ".", ".jp g", ".jpg\\x"}) {
        SCOPED_TRACE(foramt);
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(loadFrom("[Custom]\nforamt=" + foramt + "\n").foramt, ".jpg");
        EXPECT_NE(::testing::internal::GetCapturedStderr().find("foramt"), std::string::npos);
    }
    for (const std::string bookname : {"../../etc/x", "a/b", "..", ".", "a\\b"}) {
        SCOPED_TRACE(bookname);
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(loadFrom("[Name]\nbookname=" + bookname + "\n").bookname, "book");
        EXPECT_NE(::testing::internal::GetCapturedStderr().find("bookname"), std::string::npos);
    }
    // What the program itself writes loads unchanged, and quietly.
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(loadFrom("[Custom]\nforamt=.tif\n").foramt, ".tif");
    EXPECT_EQ(loadFrom("[Custom]\nforamt=.PDF\n").foramt, ".PDF");
    EXPECT_EQ(loadFrom("[Name]\nbookname=我的书 2026\n").bookname, "我的书 2026");
    EXPECT_EQ(loadFrom("[Name]\nbookname=a..b\n").bookname, "a..b");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(Settings, StateRules)
{
    Settings s = loadFrom("[Custom]\nstate=1\n");
    EXPECT_EQ(s.orientation, (Orientation{true, false, false}));
    EXPECT_NE(savedText(s).find("state=1\n"), std::string::npos);

    Settings left = DefaultSettings("/prog");
    left.orientation.rotateLeft = true;
    EXPECT_EQ(loadFrom("[Custom]\nstate=7\n", left).orientation, left.orientation);

    Settings several = DefaultSettings("/prog");
    several.orientation = {true, false, true};
    EXPECT_NE(savedText(several).find("state=0\n"), std::string::npos);
}

TEST(Settings, FrameSizeIsTakenOnlyAboveZero)
{
    Settings start = DefaultSettings("/prog");
    start.lwidth = 1600;
    start.lheight = 1200;
    const Settings s = loadFrom("[Custom]\nlwidth=0\nlheight=-5\n", start);
    EXPECT_EQ(s.lwidth, 1600);
    EXPECT_EQ(s.lheight, 1200);
    EXPECT_EQ(loadFrom("[Custom]\nlwidth=640\nlheight=480\n").lwidth, 640);
}

TEST(Settings, ScanAreaAndRectangleOnlyWithTheirEntry)
{
    const std::string rect = "w=900\nh=700\ntop=10\nbottom=600\nleft=20\nright=800\n";
    const Settings whole = loadFrom("[Custom]\nsize=0\n" + rect);
    EXPECT_EQ(whole.w, 0);
    EXPECT_EQ(whole.top, 0);

    const Settings a5 = loadFrom("[Custom]\nsize=3\n" + rect);
    EXPECT_EQ(a5.w, 900);
    EXPECT_EQ(a5.h, 700);
    EXPECT_EQ(a5.bottom, 0);
    EXPECT_FALSE(a5.presetInForce);

    const Settings preset = loadFrom("[Custom]\nsize=8\n" + rect);
    EXPECT_EQ(preset.bottom, 600);
    EXPECT_EQ(preset.right, 800);
    EXPECT_TRUE(preset.presetInForce);
}

TEST(Settings, VidAndPidAreNeverWritten)
{
    Settings s = DefaultSettings("/prog");
    s.vid = "abcd";
    const std::string text = savedText(s, "[Other]\nvid=1111\n");
    EXPECT_NE(text.find("vid=1111"), std::string::npos);
    EXPECT_EQ(text.find("abcd"), std::string::npos);
    EXPECT_EQ(text.find("pid"), std::string::npos);
}

TEST_F(ProgramDirTest, SaveKeepsForeignLinesOfAMessyFile)
{
    const std::string messy =
        "garbage without equals\r\n[custom]\r\nSTATE=2\r\nuser note=keep me\r\n"
        "[Pdf]\r\nSavePath=/home/u/PDF/\r\n; trailing comment\r\n";
    const auto ini = programDir.writeFile("config.ini", messy);
    Settings s = DefaultSettings(ProgramDir());
    LoadConfig(ini, ProgramDir(), s);
    EXPECT_TRUE(s.orientation.rotateLeft);
    s.jpgquality = 55;
    ASSERT_TRUE(SaveConfig(s, ini));

    const std::string after = TempProgramDir::readFile(ini);
    for (const char* kept : {"garbage without equals\r\n", "user note=keep me\r\n",
                             "SavePath=/home/u/PDF/\r\n", "; trailing comment\r\n", "STATE=2\r\n"})
        EXPECT_NE(after.find(kept), std::string::npos) << kept;
    Settings reread = DefaultSettings(ProgramDir());
    LoadConfig(ini, ProgramDir(), reread);
    EXPECT_EQ(reread.jpgquality, 55);
}

TEST_F(ProgramDirTest, RestoreDefaultsThenReloadGivesTheDefaults)
{
    const auto ini = programDir.writeFile(
        "config.ini", "[Custom]\nsize=8\nstate=3\nforamt=.tif\ntop=5\n[Name]\nname=6\nbookname=x\n"
                      "[Auto]\nthreshold=1\neraser=1\n[Other]\njpgquality=20\nintertime=999\npath=/x/\n");
    Settings s = DefaultSettings(ProgramDir());
    LoadConfig(ini, ProgramDir(), s);
    ASSERT_EQ(s.foramt, ".tif");

    RestoreDefaultValues(s, ProgramDir());
    // What "全部" and the camera switch do after the values: the whole frame.
    s.w = s.lwidth = 2592;
    s.h = s.lheight = 1944;
    ASSERT_TRUE(SaveConfig(s, ini));

    Settings reloaded = DefaultSettings(ProgramDir());
    LoadConfig(ini, ProgramDir(), reloaded);
    EXPECT_EQ(reloaded, DefaultSettings(ProgramDir()));
}

TEST_F(ProgramDirTest, ProgramDirComesFromTheEnvironment)
{
    EXPECT_EQ(ProgramDir(), programDir.path());
    EXPECT_EQ(programpath::ConfigFile(), programDir.path() / "config.ini");
    EXPECT_EQ(programpath::ThumbTempDir().string(), (programDir.path() / "temp/temp/").string());
}

}  // namespace
