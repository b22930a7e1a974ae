// Opening and closing connections, the parameter checks that come before any traffic, and
// the account requests.

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>

#include "FaxServerFixture.h"
#include "MessageTypes.h"

namespace vestrel::faxtest {
namespace {

using namespace vestrel::fax;

TEST_F(FaxServerTest, OpenChecksTextLengthsBeforeConnecting)
{
    int handle = -1;
    EXPECT_EQ(OpenConnection(&handle, "127.0.0.1", port, "alice678901", kSubAccount, kPassword), QUENDLE_ERR_LOGIN)
        << "11 characters fit (and the fake server does not know the account)";
    handles.push_back(handle);
    EXPECT_EQ(OpenConnection(&handle, "127.0.0.1", port, "alice6789012", kSubAccount, kPassword), QUENDLE_ERR_PARAM);
    EXPECT_EQ(OpenConnection(&handle, "127.0.0.1", port, kAccount, "12345", kPassword), QUENDLE_ERR_PARAM);
    EXPECT_EQ(OpenConnectionEx(&handle, "127.0.0.1", port, kAccount, std::string(21, 'p').c_str(), 1000, 0),
              QUENDLE_ERR_PARAM);
    EXPECT_EQ(OpenConnectionEx(&handle, "127.0.0.1", port, std::string(17, 'a').c_str(), kPassword, 1000, 0),
              QUENDLE_ERR_PARAM);
    EXPECT_EQ(OpenConnectionEx(nullptr, "127.0.0.1", port, kAccount, kPassword, 1000, 0), QUENDLE_ERR_PARAM);
    // Only the first open reached the server.
    EXPECT_EQ(server.connectionsAccepted(), 1);

    const std::string password20(20, 'p');
    server.addAccount("bob", "2", password20);
    EXPECT_EQ(OpenConnection(&handle, "127.0.0.1", port, "bob", "2", password20.c_str()), QUENDLE_OK);
    handles.push_back(handle);
}

TEST_F(FaxServerTest, FailedOpenStillHandsOutAHandleThatClosesCleanly)
{
    int handle = -1;
    EXPECT_EQ(OpenConnectionEx(&handle, "127.0.0.1", port, kAccount, "wrong", 2000, 1), QUENDLE_ERR_LOGIN);
    ASSERT_GE(handle, 0);
    EXPECT_EQ(CloseConnection(handle), QUENDLE_OK);
    EXPECT_NE(logText(handle).find("The Authentication to Server is failed\r\n"), std::string::npos);

    // Nothing listens on a port we just closed.
    fakefax::FakeFaxServer closed;
    const int deadPort = closed.start(0);
    closed.stop();
    int second = -1;
    EXPECT_EQ(OpenConnectionEx(&second, "127.0.0.1", deadPort, kAccount, kPassword, 2000, 1), QUENDLE_ERR_NOT_READY);
    EXPECT_EQ(second, handle) << "the failed open gave its slot back";
    EXPECT_EQ(CloseConnection(second), QUENDLE_OK);
    EXPECT_NE(logText(second).find("Failed to connect the server\r\n"), std::string::npos);
    EXPECT_EQ(OpenConnectionEx(&second, "no-such-host.invalid", port, kAccount, kPassword, 2000, 0),
              QUENDLE_ERR_NOT_READY);
    CloseConnection(second);
}

TEST_F(FaxServerTest, ConnectionWithoutALogFileStillWorks)
{
    const std::string missing = (folder.path() / "no-such-folder").string();
    ::setenv("TOLVY_ROOT", missing.c_str(), 1);
    const int handle = login();
    const std::string logPath = missing + "/Raviklog" + std::to_string(handle) + ".txt";
    ASSERT_EQ(alerts.size(), 2u);
    EXPECT_EQ(alerts[0], "Open File " + logPath + " Failed, Please contact your administrator");
    EXPECT_EQ(alerts[1], "Failed to open the log File,FileName = " + logPath + "\r\n");
    UserInfo info;
    EXPECT_EQ(GetUserInfo(handle, &info), QUENDLE_OK);
    EXPECT_FALSE(std::filesystem::exists(missing));

    // Without the log flag nothing is opened, nothing is shown.
    alerts.clear();
    server.addAccount("frank", "", "pw");
    int quiet = -1;
    ASSERT_EQ(OpenConnectionEx(&quiet, "127.0.0.1", port, "frank", "pw", 3000, 0), QUENDLE_OK);
    handles.push_back(quiet);
    EXPECT_TRUE(alerts.empty());
}

TEST_F(FaxServerTest, HandlesAreTableIndicesAndSlotsAreReused)
{
    const int first = login();
    server.addAccount("dave", "", "pw");
    int second = -1;
    ASSERT_EQ(OpenConnectionEx(&second, "127.0.0.1", port, "dave", "pw", 3000, 0), QUENDLE_OK);
    handles.push_back(second);
    EXPECT_EQ(second, first + 1);
    EXPECT_EQ(CloseConnection(first), QUENDLE_OK);
    server.addAccount("carol", "", "pw");
    int third = -1;
    ASSERT_EQ(OpenConnectionEx(&third, "127.0.0.1", port, "carol", "pw", 3000, 0), QUENDLE_OK);
    handles.push_back(third);
    EXPECT_EQ(third, first);
    EXPECT_EQ(CloseConnection(-1), QUENDLE_ERR_PARAM);
    EXPECT_EQ(CloseConnection(1000), QUENDLE_ERR_PARAM);
}

TEST_F(FaxServerTest, SecondLoginOfALiveAccountIsRefusedAndLogged)
{
    const int first = login();
    int second = -1;
    EXPECT_EQ(OpenConnectionEx(&second, "127.0.0.1", port, kAccount, kPassword, 3000, 1), QUENDLE_ERR_LOGIN);
    handles.push_back(second);
    EXPECT_NE(logText(second).find("The Connection to Server is already established\r\n"), std::string::npos);
    EXPECT_NE(logText(first).find("Successfully to pass the Server authentication\r\n"), std::string::npos);
}

TEST_F(FaxServerTest, RequestsNeedALoggedInConnection)
{
    int handle = -1;
    OpenConnectionEx(&handle, "127.0.0.1", port, kAccount, "wrong", 2000, 0);
    handles.push_back(handle);
    UserInfo info;
    int count = 0;
    EXPECT_EQ(GetUserInfo(handle, &info), QUENDLE_ERR_NOT_READY);
    EXPECT_EQ(QueryResultForNewTasks(handle, &count), QUENDLE_ERR_NOT_READY);
    EXPECT_EQ(CancelSendJob(handle, "J1"), QUENDLE_ERR_NOT_READY);
    EXPECT_EQ(GetUserInfo(handle + 50, &info), QUENDLE_ERR_PARAM);
}

TEST_F(FaxServerTest, AccountRequestsRoundTrip)
{
    const int handle = login();
    UserInfo info;
    ASSERT_EQ(GetUserInfo(handle, &info), QUENDLE_OK);
    EXPECT_STREQ(info.account, kAccount);
    EXPECT_STREQ(info.subAccount, kSubAccount);
    EXPECT_STREQ(info.areaCode, "010");
    EXPECT_EQ(info.faxToneSeconds, 30);
    EXPECT_DOUBLE_EQ(info.balance, 123.5);

    UserSetting setting{};
    setting.faxToneSeconds = 45;
    setting.promptTone = 2;
    std::memset(setting.stationId, 'S', 99);
    EXPECT_EQ(ModifyUserSetting(handle, setting), QUENDLE_OK);
    EXPECT_EQ(server.userSetting(kAccount).faxToneSeconds, 45);
    EXPECT_EQ(std::string(server.userSetting(kAccount).stationId), std::string(99, 'S'));
    setting.stationId[99] = 'S';  // 100 characters do not fit
    EXPECT_EQ(ModifyUserSetting(handle, setting), QUENDLE_ERR_PARAM);

    EXPECT_EQ(ModifyPassword(handle, "not-it", "new"), QUENDLE_ERR_REFUSED);
    EXPECT_EQ(ModifyPassword(handle, kPassword, std::string(21, 'n').c_str()), QUENDLE_ERR_PARAM);
    EXPECT_EQ(ModifyPassword(handle, kPassword, "fresh"), QUENDLE_OK);
    EXPECT_EQ(server.password(kAccount), "fresh");

    char text[120];
    std::memset(text, 'Q', sizeof(text));
    server.setLatestClientVersion("2.0.1");
    EXPECT_EQ(CheckNewClientSoftware(handle, "1.0.0", text), 1);
    EXPECT_STREQ(text, "2.0.1");
    EXPECT_EQ(CheckNewClientSoftware(handle, "2.0.1", text), 0);
    EXPECT_EQ(CheckNewClientSoftware(handle, std::string(120, 'v').c_str(), text), QUENDLE_ERR_PARAM);
}

TEST_F(FaxServerTest, SwitchedOffOperationsAnswerMinusThreeWithoutTraffic)
{
    const int handle = login();
    server.clearFrames();
    int count = 0;
    char a[64] = {}, b[64] = {}, c[64] = {};
    unsigned char record[260] = {};
    EXPECT_EQ(ConvertText2Wav(handle, "hello", "/tmp/x.wav"), QUENDLE_ERR_PARAM);
    EXPECT_EQ(ConvertText2Wav(-5, nullptr, nullptr), QUENDLE_ERR_PARAM);
    EXPECT_EQ(QueryResultForNewICRecvTask(handle, 0, &count), QUENDLE_ERR_PARAM);
    EXPECT_EQ(PickResultICRecvTask(handle, record, "/tmp"), QUENDLE_ERR_PARAM);
    EXPECT_EQ(FinishQueryForNewICRecvTask(handle), QUENDLE_ERR_PARAM);
    EXPECT_EQ(GetICUserSettingByCallInfo(handle, a, b, c), QUENDLE_ERR_PARAM);
    EXPECT_EQ(GetICSubUserSettingByExt(handle, a, b, c), QUENDLE_ERR_PARAM);
    EXPECT_EQ(QueryDownloadableNewClientFile(handle, &count), QUENDLE_ERR_PARAM);
    EXPECT_EQ(DownloadNewClientFile(handle, "client.exe", 0), QUENDLE_ERR_PARAM);
    EXPECT_TRUE(server.frames().empty());
    UserInfo info;
    EXPECT_EQ(GetUserInfo(handle, &info), QUENDLE_OK) << "the connection is untouched";
}

TEST(QuendleTime, MakeUTimeAndJobDefaults)
{
    const char* previous = std::getenv("TZ");
    const std::string saved = previous ? previous : "";
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    UTime t{};
    MakeUTime(1700000000, &t);
    EXPECT_EQ(t.year, 2023);
    EXPECT_EQ(t.month, 11);
    EXPECT_EQ(t.day, 14);
    EXPECT_EQ(t.hour, 22);
    EXPECT_EQ(t.minute, 13);
    EXPECT_EQ(t.second, 20);
    MakeUTime(0, nullptr);  // no record, nothing to do

    AdvancedJobInfo job;
    std::memset(&job, 0x5A, sizeof(job));
    const std::time_t before = std::time(nullptr);
    InitAdvancedJobInfo(&job);
    UTime now{};
    MakeUTime(static_cast<int32_t>(before), &now);
    EXPECT_EQ(job.jobKind, 1);
    EXPECT_EQ(job.sendTime.year, now.year);
    EXPECT_EQ(job.sendTime.day, now.day);
    EXPECT_EQ(job.word48, 18);
    EXPECT_EQ(job.word404, 0);
    EXPECT_EQ(job.word408, -1);
    EXPECT_EQ(job.word420, -1);
    EXPECT_EQ(job.word1100[6], 2);
    EXPECT_EQ(job.word1100[7], 180);
    EXPECT_EQ(job.word1100[8], 300);
    EXPECT_EQ(job.text1136[0], 0);
    EXPECT_EQ(job.promptVoice, 0);
    if (previous)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

}  // namespace
}  // namespace vestrel::faxtest
