// Pulling send results and received faxes, picking them, and fetching received faxes.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "FaxServerFixture.h"
#include "MessageTypes.h"

namespace vestrel::faxtest {
namespace {

using namespace vestrel::fax;

std::vector<std::uint8_t> bytes(const std::string& text)
{
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

TEST_F(FaxServerTest, PullWithNothingWaitingSendsNoResultTaskRequest)
{
    const int handle = login();
    int count = -1;
    ASSERT_EQ(QueryResultForNewTasks(handle, &count), QUENDLE_OK);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(server.framesOfType(REQ_RESULT_TASK).empty());
    EXPECT_TRUE(server.framesOfType(REQ_END_SYNCALL).empty());
    ResultTask result;
    EXPECT_EQ(PickResultTask(handle, &result), QUENDLE_ERR_NOTHING);
    EXPECT_NE(logText(handle).find("Receive REQ_RESULT_NUMOFTASK_ACK Msg, but the numOfTasks = 0\r\n"),
              std::string::npos);
}

TEST_F(FaxServerTest, PickWithoutAQueryFindsNothing)
{
    const int handle = login();
    ResultTask result;
    RecvTask task;
    EXPECT_EQ(PickResultTask(handle, &result), QUENDLE_ERR_NOTHING);
    EXPECT_EQ(PickResultRecvTask(handle, &task, folder.path().c_str()), QUENDLE_ERR_NOTHING);
    EXPECT_EQ(PickResultTask(handle + 9, &result), QUENDLE_ERR_PARAM);
}

TEST_F(FaxServerTest, ResultsArriveInBatchesOfFiftyAndArePickedInOrder)
{
    const int handle = login();
    server.addResults(kAccount, 120);
    int count = 0;
    ASSERT_EQ(QueryResultForNewTasks(handle, &count), QUENDLE_OK);
    EXPECT_EQ(count, 120);
    const auto batches = server.framesOfType(REQ_RESULT_TASK);
    ASSERT_EQ(batches.size(), 3u);
    EXPECT_EQ(batches[0].flag, 0);
    EXPECT_EQ(server.framesOfType(REQ_END_SYNCALL).size(), 1u);
    ResultTask result;
    for (int i = 1; i <= 120; ++i) {
        ASSERT_EQ(PickResultTask(handle, &result), QUENDLE_OK);
        EXPECT_EQ(result.clientTaskId, i);
    }
    EXPECT_EQ(PickResultTask(handle, &result), QUENDLE_ERR_NOTHING);
    EXPECT_NE(logText(handle).find("Get Total 120 Query Result Tasks\r\n"), std::string::npos);
}

TEST_F(FaxServerTest, ResultsOfOneJobAndOneDestination)
{
    const int handle = login();
    server.setHoldResults(true);
    const auto document = writeFile("page.tif", 10);
    auto list = numbers(3);
    char jobNo[16];
    ASSERT_EQ(SendFaxToServer(handle, document.c_str(), 0, list.data(), 3, jobNo), QUENDLE_OK);
    int finished = -1;
    ASSERT_EQ(QueryJobFinishByJobNo(handle, jobNo, &finished), QUENDLE_OK);
    EXPECT_EQ(finished, 0);
    ResultTask result;
    EXPECT_EQ(QueryResultTaskByJobNoTaskId(handle, jobNo, 101, &result), QUENDLE_ERR_NOTHING);

    server.completeJobs();
    server.addResults(kAccount, 5);  // other results stay waiting
    ASSERT_EQ(QueryJobFinishByJobNo(handle, jobNo, &finished), QUENDLE_OK);
    EXPECT_EQ(finished, 1);
    ASSERT_EQ(QueryResultTaskByJobNoTaskId(handle, jobNo, 101, &result), QUENDLE_OK);
    EXPECT_EQ(result.clientTaskId, 101);
    int count = 0;
    ASSERT_EQ(QueryResultTaskByJobNo(handle, jobNo, &count), QUENDLE_OK);
    EXPECT_EQ(count, 3);
    const auto asked = server.framesOfType(REQ_RESULTTASK_JOBNO);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_STREQ(reinterpret_cast<const char*>(asked[0].body.data()), jobNo);
    for (int id : {100, 101, 102}) {
        ASSERT_EQ(PickResultTask(handle, &result), QUENDLE_OK);
        EXPECT_EQ(result.clientTaskId, id);
    }
    EXPECT_EQ(server.waitingResults(kAccount), 5);

    server.clearFrames();
    EXPECT_EQ(QueryResultTaskByJobNoTaskId(handle, "", 1, &result), QUENDLE_ERR_PARAM);
    EXPECT_EQ(QueryResultTaskByJobNoTaskId(handle, "0123456789abcdef", 1, &result), QUENDLE_ERR_PARAM);
    EXPECT_EQ(QueryJobFinishByJobNo(handle, "", &finished), QUENDLE_ERR_PARAM);
    EXPECT_TRUE(server.frames().empty());
}

TEST_F(FaxServerTest, CancelAnswersTheNumberOfDestinationsStopped)
{
    const int handle = login();
    server.setHoldResults(true);
    const auto document = writeFile("page.tif", 10);
    auto list = numbers(4);
    char jobNo[16];
    ASSERT_EQ(SendFaxToServer(handle, document.c_str(), 0, list.data(), 4, jobNo), QUENDLE_OK);
    EXPECT_EQ(CancelSendJob(handle, jobNo), 4);
    EXPECT_EQ(CancelSendJob(handle, jobNo), 0);
    EXPECT_EQ(CancelSendJob(handle, "0123456789abcdef"), QUENDLE_ERR_PARAM);
    EXPECT_NE(logText(handle).find("Sucessfully to cancel 4 Tasks for JobNo " + std::string(jobNo) + "\r\n"),
              std::string::npos);
}

TEST_F(FaxServerTest, ReceivedFaxesAreFetchedIntoTheFolderAndRemovedFromTheServer)
{
    const int handle = login();
    std::vector<std::uint8_t> big(3000);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<std::uint8_t>(i * 13);
    for (int i = 0; i < 5; ++i)
        server.addReceivedFax(kAccount, "RecvFax\\in" + std::to_string(i) + ".tif", i == 2 ? big : bytes("fax " + std::to_string(i)));
    const auto inbox = folder.path() / "Photo";
    std::ofstream(inbox / "in1.tif") << "an older file of that name";

    int count = 0;
    ASSERT_EQ(QueryResultForNewRecvTasks(handle, &count), QUENDLE_OK);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(server.framesOfType(REQ_RESULT_RECVTASK).size(), 2u) << "at most four per batch";
    RecvTask task;
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(PickResultRecvTask(handle, &task, inbox.c_str()), QUENDLE_OK);
        EXPECT_STREQ(task.remoteFileName, ("RecvFax\\in" + std::to_string(i) + ".tif").c_str());
    }
    EXPECT_EQ(PickResultRecvTask(handle, &task, inbox.c_str()), QUENDLE_ERR_NOTHING);
    EXPECT_EQ(testkit::TempProgramDir::readFile(inbox / "in1.tif"), "fax 1");
    const std::string fetched = testkit::TempProgramDir::readFile(inbox / "in2.tif");
    EXPECT_EQ(std::vector<std::uint8_t>(fetched.begin(), fetched.end()), big);
    const auto pieces = server.framesOfType(REQ_RECV_MSGFILEPACKET);
    EXPECT_EQ(pieces.size(), 4u + 3u);
    const auto removals = server.framesOfType(REQ_REMOVE_SPECIFICFILE);
    ASSERT_EQ(removals.size(), 5u);
    EXPECT_STREQ(reinterpret_cast<const char*>(removals[0].body.data()), "RecvFax\\in0.tif");
    const auto request = server.framesOfType(REQ_RECV_MSGFILE);
    ASSERT_EQ(request[0].body.size(), 128u);
    EXPECT_STREQ(reinterpret_cast<const char*>(request[0].body.data() + 4), "RecvFax\\in0.tif");
    ASSERT_EQ(QueryResultForNewRecvTasks(handle, &count), QUENDLE_OK);
    EXPECT_EQ(count, 0);
    EXPECT_NE(logText(handle).find("Successfully to Get RecvFile: " + (inbox / "in0.tif").string()), std::string::npos);
    for (const auto& item : std::filesystem::directory_iterator(inbox))
        EXPECT_EQ(item.path().filename().string().rfind(".", 0), std::string::npos) << "no part file left";
}

TEST_F(FaxServerTest, RemoteNamesNeverLeadOutOfTheCallersFolder)
{
    const int handle = login();
    const auto inbox = folder.path() / "Photo";
    const auto outside = folder.path() / "escaped.tif";
    server.addReceivedFax(kAccount, "RecvFax\\..\\escaped.tif", bytes("one"));
    server.addReceivedFax(kAccount, "../../escaped2.tif", bytes("two"));
    server.addReceivedFax(kAccount, "RecvFax\\..", bytes("three"));
    server.addReceivedFax(kAccount, "RecvFax\\bad\x01name.tif", bytes("four"));
    server.addReceivedFax(kAccount, "", bytes("five"));
    server.addReceivedFax(kAccount, std::string(120, 'L'), bytes("six"));  // no terminator in the slot
    // A link planted under the fax's name is replaced, not followed.
    std::filesystem::create_symlink(outside, inbox / "linked.tif");
    server.addReceivedFax(kAccount, "RecvFax\\linked.tif", bytes("seven"));

    int count = 0;
    ASSERT_EQ(QueryResultForNewRecvTasks(handle, &count), QUENDLE_OK);
    ASSERT_EQ(count, 7);
    RecvTask task;
    EXPECT_EQ(PickResultRecvTask(handle, &task, inbox.c_str()), QUENDLE_OK);
    EXPECT_EQ(testkit::TempProgramDir::readFile(inbox / "escaped.tif"), "one");
    EXPECT_EQ(PickResultRecvTask(handle, &task, inbox.c_str()), QUENDLE_OK);
    EXPECT_EQ(testkit::TempProgramDir::readFile(inbox / "escaped2.tif"), "two");
    server.clearFrames();
    EXPECT_EQ(PickResultRecvTask(handle, &task, inbox.c_str()), QUENDLE_ERR_LOCAL);
    EXPECT_EQ(PickResultRecvTask(handle, &task, inbox.c_str()), QUENDLE_ERR_LOCAL);
    EXPECT_EQ(PickResultRecvTask(handle, &task, inbox.c_str()), QUENDLE_ERR_LOCAL);
    EXPECT_TRUE(server.framesOfType(REQ_RECV_MSGFILE).empty()) << "refused names are not fetched";
    EXPECT_EQ(PickResultRecvTask(handle, &task, inbox.c_str()), QUENDLE_OK);
    EXPECT_EQ(std::strlen(task.remoteFileName), 119u) << "the record's text ends inside its slot";
    EXPECT_EQ(PickResultRecvTask(handle, &task, inbox.c_str()), QUENDLE_OK);
    EXPECT_FALSE(std::filesystem::is_symlink(inbox / "linked.tif"));
    EXPECT_EQ(testkit::TempProgramDir::readFile(inbox / "linked.tif"), "seven");
    EXPECT_FALSE(std::filesystem::exists(outside));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "escaped2.tif"));

    // A folder that does not exist: the record is still handed out, the download fails.
    server.addReceivedFax(kAccount, "RecvFax\\late.tif", bytes("late"));
    ASSERT_EQ(QueryResultForNewRecvTasks(handle, &count), QUENDLE_OK);
    int last = QUENDLE_OK;
    do {  // the refused names are still waiting on the server, ahead of the new fax
        std::memset(&task, 0, sizeof(task));
        last = PickResultRecvTask(handle, &task, (folder.path() / "nowhere").c_str());
    } while (last != QUENDLE_ERR_NOTHING && std::string(task.remoteFileName) != "RecvFax\\late.tif");
    EXPECT_EQ(last, QUENDLE_ERR_LOCAL);
    EXPECT_STREQ(task.remoteFileName, "RecvFax\\late.tif");
    EXPECT_NE(logText(handle).find("Failed to create recv File,File Name = "), std::string::npos);
}

}  // namespace
}  // namespace vestrel::faxtest
