#include "CompositionList.h"
#include "IniFile.h"
#include "PdfMessages.h"
#include "StorageFolder.h"
#include "ProgramDir.h"
#include "ScriptedPrompter.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>

namespace vestrel::output {
namespace {

using List = std::vector<std::string>;
using Selection = std::vector<std::size_t>;

TEST(CompositionListTest, MovesKeepTheSelectionAndStopAtTheEnds)
{
    testkit::ScriptedPrompter prompter;
    List list{"a", "b", "c", "d", "e"};
    EXPECT_EQ(moveUp(list, {3, 1}, prompter), (Selection{0, 2}));
    EXPECT_EQ(list, (List{"b", "a", "d", "c", "e"}));
    EXPECT_EQ(moveDown(list, {0, 2}, prompter), (Selection{1, 3}));
    EXPECT_EQ(list, (List{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(moveDown(list, {3, 4}, prompter), (Selection{3, 4}));
    EXPECT_EQ(moveUp(list, {0, 2}, prompter), (Selection{0, 2}));
    EXPECT_EQ(list, (List{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(prompter.texts(), (List{kAlreadyAtBottom, kAlreadyAtTop}));

    removeSelected(list, {4, 0, 9});
    EXPECT_EQ(list, (List{"b", "c", "d"}));
}

TEST(CompositionListTest, RemoveTakesAtMostTheSelectionTable)
{
    List list(250, "x");
    Selection all(250);
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = i;
    removeSelected(list, all);
    EXPECT_EQ(list.size(), 50u);
}

class SaveFolderTest : public testkit::ProgramDirTest {};

TEST_F(SaveFolderTest, DefaultStoredAndRootRefused)
{
    EXPECT_EQ(loadPdfSaveFolder(), programpath::PdfDir().string());
    ASSERT_TRUE(storePdfSaveFolder("/srv/scans"));
    EXPECT_EQ(loadPdfSaveFolder(), "/srv/scans");
    ASSERT_TRUE(storePdfSaveFolder(""));
    IniFile config(programpath::ConfigFile());
    config.load();
    EXPECT_EQ(config.readString("Pdf", "SavePath", "", 1024), programpath::PdfDir().string());

    testkit::ScriptedPrompter prompter;
    EXPECT_EQ(chooseSaveFolder("/old", "/", prompter), "/old");
    EXPECT_EQ(chooseSaveFolder("/old", "/home", prompter), "/home");
    EXPECT_EQ(prompter.texts(), List{kSystemRootRefused});
}

}  // namespace
}  // namespace vestrel::output
