// Every way the fake server can misbehave, and what the client makes of it.

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "FaxServerFixture.h"
#include "MessageTypes.h"

namespace vestrel::faxtest {
namespace {

using namespace vestrel::fax;
using fakefax::Fault;

TEST_F(FaxServerTest, HandshakeRefusedOrUnansweredFailsTheOpen)
{
    server.addFault({Fault::RefuseHandshake, 0, 1});
    int handle = -1;
    EXPECT_EQ(OpenConnectionEx(&handle, "127.0.0.1", port, kAccount, kPassword, 2000, 1), QUENDLE_ERR_NOT_READY);
    handles.push_back(handle);
    EXPECT_NE(logText(handle).find("Failed to connect the server\r\n"), std::string::npos);

    server.addFault({Fault::SilentHandshake, 0, 1});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(OpenConnectionEx(&handle, "127.0.0.1", port, kAccount, kPassword, 300, 0), QUENDLE_ERR_NOT_READY);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250))
        << "a time-out under a second is still waited for";
    EXPECT_EQ(OpenConnectionEx(&handle, "127.0.0.1", port, kAccount, kPassword, 2000, 0), QUENDLE_OK);
}

TEST_F(FaxServerTest, LoginRefusedOrAlreadyLive)
{
    server.addFault({Fault::RefuseLogin, REQ_SERVER_AUTHEX, 1});
    server.addFault({Fault::LoginAlreadyLive, REQ_SERVER_AUTH, 1});
    int handle = -1;
    EXPECT_EQ(OpenConnectionEx(&handle, "127.0.0.1", port, kAccount, kPassword, 2000, 1), QUENDLE_ERR_LOGIN);
    handles.push_back(handle);
    EXPECT_NE(logText(handle).find("The Authentication to Server is failed\r\n"), std::string::npos);
    EXPECT_EQ(OpenConnection(&handle, "127.0.0.1", port, kAccount, kSubAccount, kPassword), QUENDLE_ERR_LOGIN);
    EXPECT_NE(logText(handle).find("The Connection to Server is already established\r\n"), std::string::npos);
    server.addFault({Fault::WrongType, REQ_SERVER_AUTH, 1});
    EXPECT_EQ(OpenConnection(&handle, "127.0.0.1", port, kAccount, kSubAccount, kPassword), QUENDLE_ERR_NOT_READY);
    EXPECT_NE(logText(handle).find("Get Non REQ_SERVER_AUTH MSG after send REQ_SERVER_AUTH request\r\n"),
              std::string::npos);
}

TEST_F(FaxServerTest, NakedDestinationPacketFailsTheSend)
{
    const int handle = login();
    server.addFault({Fault::Nak, REQ_SEND_CLITASK, 2});
    const auto document = writeFile("page.tif", 10);
    auto list = numbers(100);
    char jobNo[16];
    EXPECT_EQ(SendFaxToServer(handle, document.c_str(), 0, list.data(), 100, jobNo), QUENDLE_ERR_NOT_READY);
    EXPECT_EQ(server.framesOfType(REQ_SEND_CLITASK).size(), 2u) << "nothing is sent after the NAK";
    const std::string log = logText(handle);
    EXPECT_NE(log.find("Receive a REQ_SEND_CLITASK_ACK for the Msg REQ_SEND_CLITASK\r\n"), std::string::npos);
    EXPECT_NE(log.find("Receive a NAK response for the Msg REQ_SEND_CLITASK\r\n"), std::string::npos);

    server.addFault({Fault::WrongType, REQ_SEND_CLITASK, 1});
    EXPECT_EQ(SendFaxToServer(handle, document.c_str(), 0, list.data(), 10, jobNo), QUENDLE_ERR_NOT_READY);
    EXPECT_NE(logText(handle).find("Receive a Non ACK or NAK msg after send REQ_SEND_CLITASK\r\n"), std::string::npos);
}

TEST_F(FaxServerTest, RenderFailureIsReportedAsAFileProblem)
{
    const int handle = login();
    server.addFault({Fault::RenderFailure, REQ_BEGINSEND_CLIJOB, 1});
    const auto document = writeFile("page.tif", 10);
    auto list = numbers(1);
    char jobNo[16];
    EXPECT_EQ(SendFaxToServer(handle, document.c_str(), 0, list.data(), 1, jobNo), QUENDLE_ERR_FILE_TYPE);
    EXPECT_NE(logText(handle).find("Failed to Print the submited File in Platform\r\n"), std::string::npos);
    EXPECT_TRUE(server.framesOfType(REQ_SEND_CLITASK).empty());
}

TEST_F(FaxServerTest, DropDuringAPullLeavesTheSlotDroppedUntilClosed)
{
    const int handle = login();
    server.addResults(kAccount, 60);
    server.addFault({Fault::Drop, REQ_RESULT_TASK, 2});
    int count = 0;
    EXPECT_EQ(QueryResultForNewTasks(handle, &count), QUENDLE_ERR_NOT_READY);
    EXPECT_EQ(count, 60);
    EXPECT_NE(logText(handle).find("Recv PHY_CONN_UNAVAILBLE,The Client will be closed\r\n"), std::string::npos);
    ResultTask result;
    EXPECT_EQ(PickResultTask(handle, &result), QUENDLE_OK) << "the first batch was kept";
    UserInfo info;
    EXPECT_EQ(GetUserInfo(handle, &info), QUENDLE_ERR_NOT_READY);
    EXPECT_EQ(QueryResultForNewTasks(handle, &count), QUENDLE_ERR_NOT_READY);
    EXPECT_EQ(CloseConnection(handle), QUENDLE_OK);
    handles.clear();
    login();  // the slot and the account are free again
}

TEST_F(FaxServerTest, DropOutsideAPullAlsoEndsTheConnection)
{
    const int handle = login();
    server.addFault({Fault::Drop, REQ_GET_USERINFO, 1});
    UserInfo info;
    EXPECT_EQ(GetUserInfo(handle, &info), QUENDLE_ERR_NOT_READY);
    EXPECT_NE(logText(handle).find("Received a Non PHY_MSG_SENDDATA Msg after send REQ_GET_USERINFO\r\n"),
              std::string::npos);
    // The socket was closed on the drop: the next request fails before it is sent.
    EXPECT_EQ(GetUserInfo(handle, &info), QUENDLE_ERR_NOT_READY);
    EXPECT_EQ(logText(handle).find("Failed to call recv()"), std::string::npos) << logText(handle);
}

TEST_F(FaxServerTest, DropDuringADownloadSendsNoRemoval)
{
    const int handle = login();
    server.addReceivedFax(kAccount, "RecvFax\\x.tif", std::vector<std::uint8_t>(5000, 7));
    server.addFault({Fault::Drop, REQ_RECV_MSGFILEPACKET, 3});
    int count = 0;
    ASSERT_EQ(QueryResultForNewRecvTasks(handle, &count), QUENDLE_OK);
    RecvTask task;
    EXPECT_EQ(PickResultRecvTask(handle, &task, folder.path().c_str()), QUENDLE_ERR_NOT_READY);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "x.tif")) << "no half fax under the real name";
    EXPECT_TRUE(server.framesOfType(REQ_REMOVE_SPECIFICFILE).empty());
    EXPECT_NE(logText(handle).find("Failed to Recv the RecvTask file, filename = RecvFax\\x.tif\r\n"), std::string::npos);
}

TEST_F(FaxServerTest, ServerRefusingTheFileFailsTheDownload)
{
    const int handle = login();
    server.addReceivedFax(kAccount, "RecvFax\\y.tif", std::vector<std::uint8_t>(10, 7));
    server.addFault({Fault::RefuseFile, REQ_RECV_MSGFILE, 1});
    int count = 0;
    ASSERT_EQ(QueryResultForNewRecvTasks(handle, &count), QUENDLE_OK);
    RecvTask task;
    EXPECT_EQ(PickResultRecvTask(handle, &task, folder.path().c_str()), QUENDLE_ERR_NOT_READY);
    EXPECT_TRUE(server.framesOfType(REQ_RECV_MSGFILEPACKET).empty());
}

TEST_F(FaxServerTest, WrongReplyTypesAndSizesAreFailures)
{
    const int handle = login();
    UserInfo info;
    server.addFault({Fault::WrongType, REQ_GET_USERINFO, 1});
    EXPECT_EQ(GetUserInfo(handle, &info), QUENDLE_ERR_NOT_READY);
    EXPECT_NE(logText(handle).find("Recevied an unexpecxted Msg after send REQ_GET_USERINFO\r\n"), std::string::npos);
    server.addFault({Fault::WrongBodySize, REQ_GET_USERINFO, 1});
    std::memset(&info, 0x33, sizeof(info));
    EXPECT_EQ(GetUserInfo(handle, &info), QUENDLE_ERR_NOT_READY);
    EXPECT_EQ(info.account[0], 0) << "the record is zeroed before the request";
    EXPECT_NE(logText(handle).find("Receive a wrong REQ_GET_USERINFO_ACK Msg\r\n"), std::string::npos);
    server.addFault({Fault::WrongPhysicalType, REQ_GET_USERINFO, 1});
    EXPECT_EQ(GetUserInfo(handle, &info), QUENDLE_ERR_NOT_READY);
    EXPECT_NE(logText(handle).find("Received a Non PHY_MSG_SENDDATA Msg after send REQ_GET_USERINFO\r\n"),
              std::string::npos);
    EXPECT_EQ(GetUserInfo(handle, &info), QUENDLE_OK) << "none of these closed the connection";

    server.addFault({Fault::WrongType, REQ_CANCEL_JOB, 1});
    EXPECT_EQ(CancelSendJob(handle, "J1"), 0);
    EXPECT_NE(logText(handle).find("Receive NON REQ_CANCEL_JOB_ACK msg after send REQ_CANCEL_JOB\r\n"),
              std::string::npos);
    server.addFault({Fault::RefuseChange, REQ_MODIFY_USERSETTING, 1});
    UserSetting setting{};
    EXPECT_EQ(ModifyUserSetting(handle, setting), QUENDLE_ERR_REFUSED);
    server.addFault({Fault::WrongBodySize, REQ_CHECKJOB_FINISH, 1});
    int finished = 0;
    EXPECT_EQ(QueryJobFinishByJobNo(handle, "J1", &finished), QUENDLE_ERR_NOT_READY);
    server.addFault({Fault::WrongBodySize, REQ_RESULTTASK_JOBNOTASKID, 1});
    ResultTask result;
    EXPECT_EQ(QueryResultTaskByJobNoTaskId(handle, "J1", 1, &result), QUENDLE_ERR_NOT_READY);
    server.addFault({Fault::WrongType, REQ_RESULT_SYNCALL, 1});
    int count = 0;
    EXPECT_EQ(QueryResultForNewTasks(handle, &count), QUENDLE_ERR_NOT_READY);
    EXPECT_NE(logText(handle).find("Receive non REQ_RESULT_NUMOFTASK_ACK message\r\n"), std::string::npos);
}

TEST_F(FaxServerTest, BadResultBatchesEndThePullKeepingEarlierRecords)
{
    const int handle = login();
    server.addResults(kAccount, 120);
    server.addFault({Fault::WrongBodySize, REQ_RESULT_TASK, 2});
    int count = 0;
    EXPECT_EQ(QueryResultForNewTasks(handle, &count), QUENDLE_ERR_NOT_READY);
    EXPECT_NE(logText(handle).find("Meet Illegal Packet when process REQ_RESULT_TASK_ACK\r\n"), std::string::npos);
    EXPECT_TRUE(server.framesOfType(REQ_END_SYNCALL).empty());
    ResultTask result;
    int picked = 0;
    while (PickResultTask(handle, &result) == QUENDLE_OK)
        ++picked;
    EXPECT_EQ(picked, 50);

    server.addResults(kAccount, 10);
    server.addFault({Fault::TooManyRecords, REQ_RESULT_TASK, 1});
    EXPECT_EQ(QueryResultForNewTasks(handle, &count), QUENDLE_ERR_NOT_READY);
    EXPECT_NE(logText(handle).find("Exception:received the query task num is exceed MAXTASKSONEQUERY\r\n"),
              std::string::npos);
    EXPECT_EQ(PickResultTask(handle, &result), QUENDLE_ERR_NOTHING);

    server.addReceivedFax(kAccount, "RecvFax\\r.tif", {1});
    server.addFault({Fault::WrongType, REQ_RESULT_RECVTASK, 1});
    EXPECT_EQ(QueryResultForNewRecvTasks(handle, &count), QUENDLE_ERR_NOT_READY);
    EXPECT_NE(logText(handle).find("Receive an unexpected Message when call ProcessRecvQueryResult()\r\n"),
              std::string::npos);
}

TEST_F(FaxServerTest, MalformedFramesCloseTheConnection)
{
    for (Fault fault : {Fault::LengthMismatch, Fault::HugeLength, Fault::CloseMidFrame}) {
        SCOPED_TRACE(static_cast<int>(fault));
        const int handle = login();
        server.addFault({fault, REQ_GET_USERINFO, 1});
        UserInfo info;
        EXPECT_EQ(GetUserInfo(handle, &info), QUENDLE_ERR_NOT_READY);
        EXPECT_EQ(GetUserInfo(handle, &info), QUENDLE_ERR_NOT_READY) << "the socket is closed";
        const std::string log = logText(handle);
        if (fault == Fault::CloseMidFrame) {
            // Half of the 356-byte answer: the heads arrived, the body broke off.
            EXPECT_NE(log.find("Meet recv() retlen == 0...\r\n"), std::string::npos) << log;
            EXPECT_NE(log.find("Meet recv() error,ret != TCP_SUCCESS,ret = 1\r\n"), std::string::npos) << log;
        } else {
            EXPECT_NE(log.find("Meet Recv Wrong Msg, the Meg Length is inconsisitent...\r\n"), std::string::npos);
            EXPECT_NE(log.find("Meet recv() error,ret != TCP_SUCCESS,ret = 5\r\n"), std::string::npos) << log;
        }
        CloseConnection(handle);
        handles.clear();
        server.clearFaults();
    }
}

TEST_F(FaxServerTest, SlowAnswerTimesOutAndClosesTheSocket)
{
    const int handle = login(400);
    server.addFault({Fault::Slow, REQ_GET_USERINFO, 1, 1200});
    UserInfo info;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(GetUserInfo(handle, &info), QUENDLE_ERR_NOT_READY);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(350));
    EXPECT_LT(waited, std::chrono::milliseconds(1100));
    EXPECT_NE(logText(handle).find("Meet select() for send timeout...\r\n"), std::string::npos);
    EXPECT_NE(logText(handle).find("Meet recv() error,ret != TCP_SUCCESS,ret = 2\r\n"), std::string::npos);
    EXPECT_EQ(GetUserInfo(handle, &info), QUENDLE_ERR_NOT_READY);

    // A slow answer inside the time-out is simply waited for. (The server is still busy
    // with the first session, so the account counts as live: log in as another one.)
    server.addAccount("erin", "", "pw");
    int patient = -1;
    ASSERT_EQ(OpenConnectionEx(&patient, "127.0.0.1", port, "erin", "pw", 3000, 0), QUENDLE_OK);
    handles.push_back(patient);
    server.addFault({Fault::Slow, REQ_GET_USERINFO, 0, 300});
    EXPECT_EQ(GetUserInfo(patient, &info), QUENDLE_OK);
}

}  // namespace
}  // namespace vestrel::faxtest
