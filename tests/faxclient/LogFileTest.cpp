#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "LogFile.h"
#include "ScratchRoot.h"
#include "TempProgramDir.h"
#include "UserAlert.h"

namespace vestrel::fax {
namespace {

using testkit::TempProgramDir;

TEST(LogFile, EntryHasTheTimePrefixAndAppendsToAnExistingFile)
{
    TempProgramDir folder;
    const auto path = folder.path() / "Raviklog3.txt";
    std::ofstream(path) << "earlier\r\n";
    LogFile log;
    ASSERT_TRUE(log.open(path));
    log.printf("Get Total %d Query Result Tasks\r\n", 12);
    log.close();
    const std::string text = TempProgramDir::readFile(path);
    EXPECT_TRUE(std::regex_match(
        text, std::regex("earlier\r\n\\d{4}/\\d{1,2}/\\d{1,2}:\\d{1,2}:\\d{1,2}:\\d{1,2}\t\t"
                         "Get Total 12 Query Result Tasks\r\n")))
        << text;
}

TEST(LogFile, FullLogBecomesTheBackupBeforeTheNextEntry)
{
    TempProgramDir folder;
    const auto path = folder.path() / "Raviklog0.txt";
    const auto backup = folder.path() / "Raviklog0.bak";
    std::ofstream(backup) << "old backup";
    std::ofstream(path) << std::string(512 * 1024, 'x');
    LogFile log;
    ASSERT_TRUE(log.open(path));
    log.write("fresh entry\r\n");
    EXPECT_EQ(std::filesystem::file_size(backup), 512u * 1024u);
    const std::string text = TempProgramDir::readFile(path);
    EXPECT_NE(text.find("fresh entry\r\n"), std::string::npos);
    EXPECT_LT(text.size(), 64u);

    // One byte less than the limit stays where it is.
    std::ofstream(path, std::ios::trunc) << std::string(512 * 1024 - 1, 'y');
    log.write("appended\r\n");
    EXPECT_GT(std::filesystem::file_size(path), 512u * 1024u);
    EXPECT_EQ(std::filesystem::file_size(backup), 512u * 1024u);
}

TEST(LogFile, BackupNameReplacesTheLastExtension)
{
    EXPECT_EQ(LogFile::backupName("/tmp/Raviklog0.txt"), "/tmp/Raviklog0.bak");
    EXPECT_EQ(LogFile::backupName("/tmp/Html2TifLog.txt"), "/tmp/Html2TifLog.bak");
    EXPECT_EQ(LogFile::backupName("/tmp/dir.d/log"), "/tmp/dir.d/log.bak");
}

TEST(LogFile, UnopenableLogAlertsTheUserAndWritesNothing)
{
    std::vector<std::string> alerts;
    SetUserAlertHandler([](const std::string& text, void* context) {
        static_cast<std::vector<std::string>*>(context)->push_back(text);
    }, &alerts);
    TempProgramDir folder;
    // A link planted in the shared scratch folder is never followed.
    const auto target = folder.path() / "elsewhere.txt";
    const auto link = folder.path() / "Raviklog1.txt";
    std::filesystem::create_symlink(target, link);
    LogFile log;
    EXPECT_FALSE(log.open(link));
    log.write("lost\r\n");
    SetUserAlertHandler(nullptr, nullptr);
    EXPECT_FALSE(std::filesystem::exists(target));
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0], "Open File " + link.string() + " Failed, Please contact your administrator");
}

TEST(LogFile, EntriesFromManyThreadsStayWhole)
{
    TempProgramDir folder;
    const auto path = folder.path() / "Raviklog5.txt";
    LogFile log;
    ASSERT_TRUE(log.open(path, 1u << 30));
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([&log, t] {
            for (int i = 0; i < 200; ++i)
                log.write("writer " + std::to_string(t) + " " + std::string(100, 'a' + t) + "\r\n");
        });
    for (auto& writer : writers)
        writer.join();
    std::ifstream in(path);
    std::string line;
    int lines = 0;
    const std::regex whole("[0-9/:]+\t\twriter ([0-3]) ([a-d]){100}\r");
    while (std::getline(in, line)) {
        ++lines;
        EXPECT_TRUE(std::regex_match(line, whole)) << line;
    }
    EXPECT_EQ(lines, 800);
}

TEST(ScratchRoot, FollowsTolvyRootAndDefaultsToTmp)
{
    ::setenv("TOLVY_ROOT", "/var/tmp/fax/", 1);
    EXPECT_EQ(TolvyPath("Raviklog0.txt"), "/var/tmp/fax/Raviklog0.txt");
    ::setenv("TOLVY_ROOT", "", 1);
    EXPECT_EQ(TolvyRoot(), "/tmp");
    ::unsetenv("TOLVY_ROOT");
    EXPECT_EQ(TolvyPath("x"), "/tmp/x");
}

}  // namespace
}  // namespace vestrel::fax
