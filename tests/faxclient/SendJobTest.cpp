// Submitting jobs: the order of checks, the uploaded pieces, the job body of every send
// export and the destination packets.

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>

#include "FaxServerFixture.h"
#include "MessageBodies.h"
#include "MessageTypes.h"
#include "WireRecords.h"

namespace vestrel::faxtest {
namespace {

using namespace vestrel::fax;

BeginSendJobBody jobBodyOf(const fakefax::FakeFaxServer& server)
{
    const auto frames = server.framesOfType(REQ_BEGINSEND_CLIJOB);
    BeginSendJobBody body;
    std::memset(&body, 0, sizeof(body));
    EXPECT_EQ(frames.size(), 1u);
    if (frames.size() == 1 && frames[0].body.size() == sizeof(body))
        std::memcpy(&body, frames[0].body.data(), sizeof(body));
    return body;
}

// A job record with every copied field set to a value of its own.
AdvancedJobInfo distinctJob()
{
    AdvancedJobInfo job;
    InitAdvancedJobInfo(&job);
    job.jobKind = 2;
    std::strcpy(job.text4, "text at 4");
    job.option32 = 3;
    job.word48 = 48;
    job.word52 = 52;
    std::strcpy(job.text56, "text at 56");
    job.word156 = 156;
    job.word404 = 404;
    job.word408 = 408;
    job.word412 = 412;
    job.word416 = 416;
    job.word420 = 420;
    std::memcpy(job.text424, "ABCD", 4);  // no room for a terminator: sent as "ABC"
    std::strcpy(job.text428, "text at 428");
    job.word488 = 488;
    job.word492 = 492;
    job.word496 = 496;
    std::strcpy(job.text740, "text at 740");
    std::strcpy(job.text860, "text at 860");
    for (int i = 0; i < 9; ++i)
        job.word1100[i] = 1100 + 4 * i;
    std::memset(job.text1136, 'T', sizeof(job.text1136));  // 100 characters: cut to 99
    job.sendTime = UTime{2099, 12, 31, 23, 59, 58};
    return job;
}

void expectCopiedFields(const BeginSendJobBody& body)
{
    EXPECT_STREQ(body.text4, "text at 4");
    EXPECT_EQ(body.reserved44, 0);
    EXPECT_EQ(body.jobKind, 2);
    EXPECT_EQ(body.option32, 3);
    EXPECT_EQ(body.sendNow, 0);
    EXPECT_EQ(body.sendTime.year, 2099);
    EXPECT_EQ(body.sendTime.second, 58);
    EXPECT_EQ(body.word48, 48);
    EXPECT_EQ(body.word52, 52);
    EXPECT_STREQ(body.text56, "text at 56");
    EXPECT_EQ(body.word156, 156);
    EXPECT_EQ(body.words404[0], 404);
    EXPECT_EQ(body.words404[4], 420);
    EXPECT_STREQ(body.text424, "ABC");
    EXPECT_STREQ(body.text428, "text at 428");
    EXPECT_EQ(body.words488[0], 488);
    EXPECT_EQ(body.words488[2], 496);
    EXPECT_STREQ(body.text740, "text at 740");
    EXPECT_STREQ(body.text860, "text at 860");
    EXPECT_EQ(body.words1100[0], 1100);
    EXPECT_EQ(body.words1100[8], 1132);
    EXPECT_EQ(std::string(body.text1136), std::string(99, 'T'));
}

TEST_F(FaxServerTest, TwoKilobyteDocumentGoesAsTwoFullPiecesAndAnEmptyLastOne)
{
    const int handle = login();
    const auto document = writeFile("page.tif", 2048);
    auto list = numbers(2);
    char jobNo[16];
    ASSERT_EQ(SendFaxToServer(handle, document.c_str(), 0, list.data(), 2, jobNo), QUENDLE_OK);
    EXPECT_STREQ(jobNo, "J00000001");

    const auto names = server.framesOfType(REQ_SEND_MSGFILE);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_STREQ(reinterpret_cast<const char*>(names[0].body.data()), "SendFax\\J00000001.tif");
    const auto pieces = server.framesOfType(REQ_SEND_MSGFILEPACKET);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].body.size(), 1024u);
    EXPECT_EQ(pieces[0].segPos, SEG_MIDDLE);
    EXPECT_EQ(pieces[1].body.size(), 1024u);
    EXPECT_EQ(pieces[1].segPos, SEG_MIDDLE);
    EXPECT_EQ(pieces[2].body.size(), 0u);
    EXPECT_EQ(pieces[2].segPos, SEG_LAST);
    EXPECT_EQ(pieces[0].flag, 1);
    const auto uploaded = server.uploadedFiles().at("SendFax\\J00000001.tif");
    EXPECT_EQ(uploaded.size(), 2048u);
    EXPECT_EQ(uploaded[2047], static_cast<std::uint8_t>((2047 * 7 + 3) & 0xFF));

    // A short document is one short piece.
    const auto small = writeFile("small.pdf", 10);
    server.clearFrames();
    ASSERT_EQ(SendFaxToServer(handle, small.c_str(), 0, list.data(), 2, jobNo), QUENDLE_OK);
    const auto one = server.framesOfType(REQ_SEND_MSGFILEPACKET);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].segPos, SEG_LAST);
    EXPECT_EQ(one[0].body.size(), 10u);
}

TEST_F(FaxServerTest, DestinationPacketsOfFortyWithSegmentsAndFlags)
{
    const int handle = login();
    const auto document = writeFile("page.tif", 100);
    char jobNo[16];
    auto forty = numbers(40);
    ASSERT_EQ(SendFaxToServer(handle, document.c_str(), 0, forty.data(), 40, jobNo), QUENDLE_OK);
    auto packets = server.framesOfType(REQ_SEND_CLITASK);
    ASSERT_EQ(packets.size(), 1u);
    EXPECT_EQ(packets[0].segPos, SEG_WHOLE);
    EXPECT_EQ(packets[0].flag, 1);
    EXPECT_EQ(packets[0].body.size(), 40u * 32u);

    server.clearFrames();
    auto many = numbers(81);
    ASSERT_EQ(SendFaxToServer(handle, document.c_str(), 0, many.data(), 41, jobNo), QUENDLE_OK);
    packets = server.framesOfType(REQ_SEND_CLITASK);
    ASSERT_EQ(packets.size(), 2u);
    EXPECT_EQ(packets[0].segPos, SEG_FIRST);
    EXPECT_EQ(packets[0].flag, 0);
    EXPECT_EQ(packets[0].body.size(), 40u * 32u);
    EXPECT_EQ(packets[1].segPos, SEG_LAST);
    EXPECT_EQ(packets[1].flag, 1);
    EXPECT_EQ(packets[1].body.size(), 32u);
    EXPECT_EQ(std::memcmp(packets[1].body.data(), &many[40], 32), 0);

    server.clearFrames();
    ASSERT_EQ(SendFaxToServer(handle, document.c_str(), 0, many.data(), 81, jobNo), QUENDLE_OK);
    packets = server.framesOfType(REQ_SEND_CLITASK);
    ASSERT_EQ(packets.size(), 3u);
    EXPECT_EQ(packets[1].segPos, SEG_MIDDLE);
    EXPECT_EQ(packets[1].flag, 0);
    EXPECT_EQ(packets[2].segPos, SEG_LAST);
    EXPECT_EQ(server.jobs().back().destinations.size(), 81u);
}

TEST_F(FaxServerTest, PageHeaderPacketsHoldEightAndAllCarryTheFlag)
{
    const int handle = login();
    const auto document = writeFile("page.tif", 100);
    std::vector<PHFaxEntry> list(9);
    for (int i = 0; i < 9; ++i) {
        std::memset(&list[i], 0, sizeof(PHFaxEntry));
        std::snprintf(list[i].faxNumber, 28, "+86 %d", i);  // page-header sends do not check numbers
        std::memset(list[i].headerText1, 'h', 51);
        std::strcpy(list[i].headerText2, "to you");
        list[i].clientTaskId = i;
    }
    char jobNo[16];
    ASSERT_EQ(SendPHFaxToServer(handle, document.c_str(), 2, list.data(), 9, jobNo), QUENDLE_OK);
    const auto packets = server.framesOfType(REQ_SEND_CLIPHTASK);
    ASSERT_EQ(packets.size(), 2u);
    EXPECT_EQ(packets[0].segPos, SEG_FIRST);
    EXPECT_EQ(packets[0].flag, 1);
    EXPECT_EQ(packets[0].body.size(), 8u * 136u);
    EXPECT_EQ(packets[1].segPos, SEG_LAST);
    EXPECT_EQ(packets[1].flag, 1);
    const BeginSendJobBody body = jobBodyOf(server);
    EXPECT_EQ(body.pageHeader, 1);
    EXPECT_EQ(body.jobKind, 2);
    EXPECT_EQ(body.destinationCount, 9);

    list[3].headerText1[51] = 'h';  // 52 characters do not fit
    EXPECT_EQ(SendPHFaxToServer(handle, document.c_str(), 1, list.data(), 9, jobNo), QUENDLE_ERR_PARAM);
}

TEST_F(FaxServerTest, SimpleSendJobBodyCarriesTheFixedDefaults)
{
    const int handle = login();
    const auto document = writeFile("scan.JPG", 300);
    auto list = numbers(3);
    char jobNo[16];
    ASSERT_EQ(SendFaxToServer(handle, document.c_str(), 77, list.data(), 3, jobNo), QUENDLE_OK);
    const BeginSendJobBody body = jobBodyOf(server);
    EXPECT_STREQ(body.jobNo, jobNo);
    EXPECT_STREQ(body.remoteName, "SendFax\\J00000001.JPG");
    EXPECT_EQ(body.jobKind, 1);
    EXPECT_EQ(body.pageHeader, 0);
    EXPECT_EQ(body.option32, 0);
    EXPECT_EQ(body.sendNow, 1);
    UTime now{};
    MakeUTime(static_cast<int32_t>(std::time(nullptr)), &now);
    EXPECT_EQ(body.sendTime.year, now.year);
    EXPECT_EQ(body.sendTime.month, now.month);
    EXPECT_EQ(body.destinationCount, 3);
    EXPECT_EQ(body.word48, 18);
    EXPECT_EQ(body.promptVoice, 0);
    EXPECT_EQ(body.words404[0], 0);
    EXPECT_EQ(body.words404[1], -1);
    EXPECT_EQ(body.words404[4], -1);
    EXPECT_EQ(body.words1100[6], 0);
    EXPECT_EQ(body.words1100[7], 0);
    EXPECT_EQ(body.words1100[8], 0);
}

TEST_F(FaxServerTest, JobBodyOfEachJobExportCopiesTheCallersRecord)
{
    const int handle = login();
    const auto document = writeFile("report.doc", 50);
    const AdvancedJobInfo job = distinctJob();
    char jobNo[16];

    auto plain = numbers(2);
    ASSERT_EQ(SendFaxJobToServer(handle, document.c_str(), plain.data(), 2, job, jobNo), QUENDLE_OK);
    BeginSendJobBody body = jobBodyOf(server);
    expectCopiedFields(body);
    EXPECT_EQ(body.pageHeader, 0);
    EXPECT_EQ(body.destinationCount, 2);
    EXPECT_STREQ(body.remoteName, "SendFax\\J00000001.doc");

    server.clearFrames();
    std::vector<PHFaxEntry> ph(1);
    std::memset(ph.data(), 0, sizeof(PHFaxEntry));
    std::strcpy(ph[0].faxNumber, "123");
    ASSERT_EQ(SendPHFaxJobToServer(handle, document.c_str(), ph.data(), 1, job, jobNo), QUENDLE_OK);
    body = jobBodyOf(server);
    expectCopiedFields(body);
    EXPECT_EQ(body.pageHeader, 1);
    EXPECT_EQ(body.destinationCount, 1);

    server.clearFrames();
    AdvancedJobInfo custom = job;
    const auto content = writeFile("content.txt", 1500);
    std::strcpy(custom.customContentFile, content.c_str());
    std::vector<CustomFaxEntry> entries(3);
    for (auto& entry : entries) {
        std::memset(&entry, 0, sizeof(entry));
        std::strcpy(entry.faxNumber, "+1 555");  // custom sends do not check numbers
        std::memcpy(entry.serverData, "8bytes!!", 8);
    }
    ASSERT_EQ(SendCustomFaxJobToServer(handle, document.c_str(), entries.data(), 3, custom, jobNo), QUENDLE_OK);
    body = jobBodyOf(server);
    expectCopiedFields(body);
    EXPECT_EQ(body.pageHeader, 0);
    EXPECT_EQ(body.destinationCount, 3);
    const auto names = server.framesOfType(REQ_SEND_MSGFILE);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_STREQ(reinterpret_cast<const char*>(names[0].body.data()), ("CustomFax\\" + std::string(jobNo) + ".txt").c_str());
    EXPECT_EQ(server.uploadedFiles().at("CustomFax\\" + std::string(jobNo) + ".txt").size(), 1500u);
    const auto packets = server.framesOfType(REQ_SEND_CLICUSTOMTASK);
    ASSERT_EQ(packets.size(), 1u);
    EXPECT_EQ(packets[0].body.size(), 3u * 36u);
    EXPECT_EQ(std::memcmp(packets[0].body.data() + 28, "8bytes!!", 8), 0);

    // Out-of-range job kind and option are sent as 1 and 0.
    server.clearFrames();
    AdvancedJobInfo odd = job;
    odd.jobKind = 7;
    odd.option32 = -1;
    ASSERT_EQ(SendFaxJobToServer(handle, document.c_str(), plain.data(), 2, odd, jobNo), QUENDLE_OK);
    body = jobBodyOf(server);
    EXPECT_EQ(body.jobKind, 1);
    EXPECT_EQ(body.option32, 0);
}

TEST_F(FaxServerTest, PromptVoiceIsUploadedOrDroppedFromTheJob)
{
    const int handle = login();
    const auto document = writeFile("page.gif", 10);
    const auto voice = writeFile("hello.wav", 3000);
    AdvancedJobInfo job;
    InitAdvancedJobInfo(&job);
    job.promptVoice = 1;
    std::strcpy(job.promptVoiceFile, voice.c_str());
    auto list = numbers(1);
    char jobNo[16];
    ASSERT_EQ(SendFaxJobToServer(handle, document.c_str(), list.data(), 1, job, jobNo), QUENDLE_OK);
    EXPECT_EQ(server.uploadedFiles().at("SendFax\\Prompt_" + std::string(jobNo) + ".wav").size(), 3000u);
    EXPECT_EQ(jobBodyOf(server).promptVoice, 1);

    server.clearFrames();
    std::strcpy(job.promptVoiceFile, (folder.path() / "missing.wav").c_str());
    ASSERT_EQ(SendFaxJobToServer(handle, document.c_str(), list.data(), 1, job, jobNo), QUENDLE_OK);
    EXPECT_EQ(jobBodyOf(server).promptVoice, 0);
    EXPECT_NE(logText(handle).find("Failed to transmit prompt file to server,localFile = "), std::string::npos);
}

TEST_F(FaxServerTest, ChecksComeInTheOrderOfEachExport)
{
    const int handle = login();
    const auto document = writeFile("page.tif", 10);
    const auto png = writeFile("page.png", 10);
    const auto tiff = writeFile("page.tiff", 10);
    char jobNo[16];
    auto list = numbers(2);

    std::strcpy(list[1].faxNumber, "+8610555");
    std::memset(jobNo, 0, sizeof(jobNo));
    EXPECT_EQ(SendFaxToServer(handle, document.c_str(), 0, list.data(), 2, jobNo), QUENDLE_ERR_FAX_NUMBER);
    EXPECT_EQ(server.framesOfType(REQ_INITSEND_CLIJOB).size(), 1u) << "simple send asks for a job number first";
    EXPECT_TRUE(server.framesOfType(REQ_SEND_MSGFILE).empty());
    std::strcpy(list[1].faxNumber, "010 555");
    EXPECT_EQ(SendFaxToServer(handle, document.c_str(), 0, list.data(), 2, jobNo), QUENDLE_ERR_FAX_NUMBER);
    EXPECT_NE(logText(handle).find("The Fax Number is Wrong\r\n"), std::string::npos);

    server.clearFrames();
    AdvancedJobInfo job;
    InitAdvancedJobInfo(&job);
    EXPECT_EQ(SendFaxJobToServer(handle, document.c_str(), list.data(), 2, job, jobNo), QUENDLE_ERR_FAX_NUMBER);
    std::strcpy(list[1].faxNumber, "");
    EXPECT_EQ(SendFaxJobToServer(handle, png.c_str(), list.data(), 2, job, jobNo), QUENDLE_ERR_FILE_TYPE);
    EXPECT_TRUE(server.frames().empty()) << "job sends check before any traffic";

    EXPECT_EQ(SendFaxToServer(handle, tiff.c_str(), 0, list.data(), 2, jobNo), QUENDLE_ERR_FILE_TYPE);
    EXPECT_NE(logText(handle).find("The Fax File Format is invalid\r\n"), std::string::npos);

    // 27 characters fit the number slot; 28 do not.
    std::memset(list[0].faxNumber, '1', 27);
    list[0].faxNumber[27] = '\0';
    EXPECT_EQ(SendFaxToServer(handle, document.c_str(), 0, list.data(), 2, jobNo), QUENDLE_OK);
    list[0].faxNumber[27] = '1';
    EXPECT_EQ(SendFaxToServer(handle, document.c_str(), 0, list.data(), 2, jobNo), QUENDLE_ERR_PARAM);
    EXPECT_EQ(SendFaxToServer(handle, document.c_str(), 0, nullptr, 2, jobNo), QUENDLE_ERR_PARAM);
    EXPECT_EQ(SendFaxToServer(handle, document.c_str(), 0, list.data(), -1, jobNo), QUENDLE_ERR_PARAM);
}

TEST_F(FaxServerTest, FailedUploadKeepsTheJobNumberForTheCaller)
{
    const int handle = login();
    auto list = numbers(1);
    char jobNo[16] = {};
    const std::string missing = (folder.path() / "gone.pdf").string();
    EXPECT_EQ(SendFaxToServer(handle, missing.c_str(), 0, list.data(), 1, jobNo), QUENDLE_ERR_UPLOAD);
    EXPECT_STREQ(jobNo, "J00000001");
    EXPECT_NE(logText(handle).find("Failed to transmit file With TCP,LocalFile = " + missing +
                                   ",RemoteFile = SendFax\\J00000001.pdf\r\n"),
              std::string::npos);
    EXPECT_TRUE(server.framesOfType(REQ_BEGINSEND_CLIJOB).empty());

    AdvancedJobInfo job;
    InitAdvancedJobInfo(&job);
    std::strcpy(job.customContentFile, missing.c_str());
    CustomFaxEntry entry{};
    const auto document = writeFile("page.tif", 10);
    EXPECT_EQ(SendCustomFaxJobToServer(handle, document.c_str(), &entry, 1, job, jobNo), QUENDLE_ERR_UPLOAD);
    EXPECT_NE(logText(handle).find("Failed to transmit the Custom content File: LocalFile = "), std::string::npos);
}

}  // namespace
}  // namespace vestrel::faxtest
