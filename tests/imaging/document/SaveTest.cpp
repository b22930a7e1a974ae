#include "DocumentMessages.h"
#include "DocumentTestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

namespace vestrel::document::test {
namespace {
namespace fs = std::filesystem;

using SaveTest = DocumentTest;

std::string Contents(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool AnyScratchLeft(const fs::path& folder)
{
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().starts_with("temp")) return true;
    return false;
}

TEST_F(SaveTest, SaveToTifGreysTheImageWhileSaveAsToTifKeepsColours)
{
    doc->SetPath(Photo("page.tif"));
    doc->SetImage(ColourPicture());
    doc->PushHistory();
    ASSERT_TRUE(doc->Save());
    EXPECT_TRUE(doc->Image()->IsGrayScale());
    EXPECT_TRUE(CxImage(Photo("page.tif"), 6).IsGrayScale());
    EXPECT_EQ(doc->History().Position(), 0);
    EXPECT_TRUE(doc->Saved());
    EXPECT_EQ(doc->PhotoNames(), std::vector<std::string>{"page.tif"});
    EXPECT_FALSE(AnyScratchLeft(programDir / "Photo"));

    doc->SetImage(ColourPicture());
    prompter.answerPath(Photo("colour.tif"));
    ASSERT_TRUE(doc->OnFileSaveAs());
    EXPECT_FALSE(doc->Image()->IsGrayScale());
    EXPECT_FALSE(CxImage(Photo("colour.tif"), 6).IsGrayScale());
    EXPECT_EQ(doc->FileName(), "colour.tif");
    EXPECT_EQ(doc->PhotoNames().size(), 2u);
}

TEST_F(SaveTest, AFormatThatCannotBeWrittenFallsBackToBmpBesideIt)
{
    const fs::path folder = programDir / "my.scans";
    fs::create_directories(folder);
    doc->SetPath((folder / "page.wmf").string());
    doc->SetImage(ColourPicture());
    ASSERT_TRUE(doc->Save());
    EXPECT_TRUE(prompter.showed(msg::kFormatFallsBackToBmp));
    EXPECT_TRUE(fs::exists(folder / "page.bmp"));
    EXPECT_FALSE(fs::exists(folder / "page.wmf"));
    EXPECT_FALSE(fs::exists(programDir / "my.bmp"));
    EXPECT_EQ(doc->FileName(), "page.bmp");
    EXPECT_FALSE(AnyScratchLeft(folder));

    prompter.clear();
    prompter.answerPath((folder / "copy.wmf").string());
    ASSERT_TRUE(doc->OnFileSaveAs());
    EXPECT_TRUE(prompter.showed(msg::kFormatFallsBackToBmp));
    EXPECT_TRUE(fs::exists(folder / "copy.bmp"));
    EXPECT_FALSE(fs::exists(folder / "copy.wmf"));
    EXPECT_EQ(doc->CurrentPath(), (folder / "copy.bmp").string());
}

TEST_F(SaveTest, AFileNamedLikeTheScratchFileIsLeftAlone)
{
    const auto own = programDir / "Photo" / "temp.jpg";
    std::ofstream(own) << "the user's own file";
    doc->SetPath(Photo("page.jpg"));
    doc->SetImage(ColourPicture());
    ASSERT_TRUE(doc->Save());
    EXPECT_EQ(Contents(own), "the user's own file");
    EXPECT_TRUE(CxImage(Photo("page.jpg"), 3).IsValid());
}

TEST_F(SaveTest, ADiskThatRunsFullKeepsTheOldFileAndTheHistory)
{
    const std::string target = WritePicture(Photo("page.jpg"));
    const std::string before = Contents(target);
    doc->LoadFile(target);
    ASSERT_NE(doc->Image(), nullptr);
    doc->PushHistory();
    doc->SetImage(ColourPicture(400, 300));

    // Writes past 1 KiB fail as they would on a full disk.
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = doc->Save();
    ::setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_FALSE(saved);
    EXPECT_FALSE(doc->Saved());
    EXPECT_EQ(Contents(target), before);
    EXPECT_EQ(doc->History().Position(), 1);
    EXPECT_EQ(doc->FileName(), "page.jpg");
    EXPECT_FALSE(fs::exists(Photo("page.bmp")));
    EXPECT_FALSE(AnyScratchLeft(programDir / "Photo"));
    EXPECT_TRUE(prompter.showed(std::string(msg::kSaveFailedBefore) + Photo("page.bmp") +
                                msg::kSaveFailedAfter));
}

// Drops the capabilities that let root write into read-only folders, for this process only.
bool DropFolderOverrides()
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (::syscall(SYS_capget, &header, data) != 0) return false;
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
        data[cap / 32].effective &= ~(1u << (cap % 32));
        data[cap / 32].permitted &= ~(1u << (cap % 32));
    }
    return ::syscall(SYS_capset, &header, data) == 0;
}

TEST_F(SaveTest, AReadOnlyFolderKeepsTheOldFile)
{
    const fs::path folder = programDir / "locked";
    const std::string target = WritePicture((folder / "page.png").string());
    const std::string before = Contents(target);
    doc->LoadFile(target);
    doc->SetImage(ColourPicture(60, 60));
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);

    // The save runs in a child process that cannot override the folder's permissions.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (!DropFolderOverrides() || ::access(folder.c_str(), W_OK) == 0) ::_exit(2);
        ::_exit(doc->Save() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    fs::permissions(folder, fs::perms::owner_all);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the save claimed success; 2: the folder stayed writable";
    EXPECT_EQ(Contents(target), before);
    EXPECT_FALSE(AnyScratchLeft(folder));
}

TEST_F(SaveTest, SaveAsCancelledWritesNothingAndKeepsTheHistory)
{
    doc->SetPath(Photo("page.png"));
    doc->SetImage(ColourPicture());
    doc->PushHistory();
    prompter.answerPath(std::nullopt);
    EXPECT_FALSE(doc->OnFileSaveAs());
    EXPECT_EQ(doc->History().Position(), 1);
    EXPECT_TRUE(fs::is_empty(programDir / "Photo"));
    EXPECT_EQ(prompter.shown().at(0).kind, "save");
}

TEST_F(SaveTest, APictureWithoutAFileNameIsSavedUnderTheNameTheUserGives)
{
    doc->SetImage(ColourPicture());
    ASSERT_TRUE(doc->FileName().empty());
    prompter.answerPath(Photo("pasted.png"));
    ASSERT_TRUE(doc->Save());
    EXPECT_TRUE(CxImage(Photo("pasted.png"), 4).IsValid());
    EXPECT_EQ(doc->FileName(), "pasted.png");
    EXPECT_EQ(std::distance(fs::directory_iterator(programDir / "Photo"), fs::directory_iterator()), 1);
}

TEST_F(SaveTest, AYesWhoseSaveFailsKeepsTheEditedPictureInsteadOfDroppingIt)
{
    // A pasted picture has no file: Yes leads to the name dialog, which is cancelled.
    doc->SetImage(ColourPicture(30, 20));
    doc->PushHistory();
    prompter.answer(Answer::Yes).answerPath(std::nullopt);
    doc->OnFileNew();
    ASSERT_NE(doc->Image(), nullptr);
    EXPECT_EQ(doc->Image()->GetWidth(), 30);
    EXPECT_EQ(doc->History().Position(), 1);

    const std::string dropped = WritePicture(Photo("dropped.png"));
    prompter.answer(Answer::Yes).answerPath(std::nullopt);
    EXPECT_FALSE(doc->OpenDropped(dropped));
    EXPECT_EQ(doc->Image()->GetWidth(), 30);

    // No drops the edits as it always did.
    prompter.answer(Answer::No);
    EXPECT_TRUE(doc->SaveIfWanted());
    prompter.answer(Answer::Cancel);
    EXPECT_FALSE(doc->SaveIfWanted());
    const std::vector<std::string> asked = prompter.texts();
    EXPECT_EQ(std::count(asked.begin(), asked.end(), std::string(msg::kAskSaveCurrent)), 4);
}

}  // namespace
}  // namespace vestrel::document::test
