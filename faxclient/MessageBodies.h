#pragma once
// The bodies of the requests the client sends, and of the replies with a fixed layout.

#include <cstddef>
#include <cstdint>

#include "quendle.h"

namespace vestrel::fax {

#pragma pack(push, 1)

// REQ_SERVER_AUTH
struct AuthBody {
    char account[12];     // at most 11 characters
    char subAccount[5];   // at most 4 characters
    char password[21];    // at most 20 characters
};

// REQ_SERVER_AUTHEX
struct AuthExBody {
    char account[17];     // at most 16 characters
    char password[21];    // at most 20 characters
};

// REQ_MODIFY_PASSWORD
struct ModifyPasswordBody {
    char oldPassword[21];
    char newPassword[21];
};

// REQ_SEND_MSGFILE, REQ_REMOVE_SPECIFICFILE
struct RemoteFileNameBody {
    char name[120];       // "SendFax\..." or "RecvFax\..."
};

// REQ_CANCEL_JOB, REQ_RESULTTASK_JOBNO, REQ_CHECKJOB_FINISH; also the REQ_INITSEND_CLIJOB_ACK body
struct JobNumberBody {
    char jobNo[16];       // at most 15 characters
};

// REQ_RESULTTASK_JOBNOTASKID
struct JobNoTaskIdBody {
    char jobNo[16];
    std::int32_t clientTaskId;  // the caller's number of the destination
};

// REQ_RECV_MSGFILE
struct RecvMsgFileBody {
    std::int32_t transferMode;  // always 0: packets over this connection
    char name[124];             // remote name of the received fax
};

// REQ_CLIENT_VERSION
struct ClientVersionBody {
    char version[120];
};

// REQ_CLIENT_VERSION_ACK
struct ClientVersionReply {
    char text[120];       // handed to the caller
    std::int32_t word;    // becomes the call's result
};

// REQ_BEGINSEND_CLIJOB: the job as the server renders and schedules it. Most fields are
// copied from AdvancedJobInfo (the comment names its offset there).
struct BeginSendJobBody {
    char jobNo[16];              // job number from REQ_INITSEND_CLIJOB_ACK
    char text4[28];              // job[4]
    std::int32_t reserved44;     // 0
    char remoteName[120];        // remote name of the uploaded document
    std::int32_t jobKind;        // job[0]; other than 1 or 2 is sent as 1
    std::int32_t pageHeader;     // 1 for a page-header fax
    std::int32_t option32;       // job[32]; outside 0-3 is sent as 0
    std::int32_t sendNow;        // 1 when job[36] is not later than now
    UTime sendTime;              // now when sendNow, else job[36]
    std::int32_t destinationCount;
    std::int32_t word48;         // job[48]
    std::int32_t word52;         // job[52]
    char text56[100];            // job[56]
    std::int32_t word156;        // job[156]
    std::int32_t promptVoice;    // job[160], 0 when the voice upload failed
    std::int32_t words404[5];    // job[404] ... job[420]
    char text424[4];             // job[424], at most 3 characters
    char text428[60];            // job[428]
    std::int32_t words488[3];    // job[488] ... job[496]
    char text740[120];           // job[740]
    char text860[240];           // job[860]
    std::int32_t words1100[9];   // job[1100] ... job[1132]
    char text1136[100];          // job[1136], at most 99 characters
};

#pragma pack(pop)

static_assert(sizeof(AuthBody) == 38);
static_assert(offsetof(AuthBody, subAccount) == 12);
static_assert(offsetof(AuthBody, password) == 17);
static_assert(sizeof(AuthExBody) == 38);
static_assert(offsetof(AuthExBody, password) == 17);
static_assert(sizeof(ModifyPasswordBody) == 42);
static_assert(offsetof(ModifyPasswordBody, newPassword) == 21);
static_assert(sizeof(RemoteFileNameBody) == 120);
static_assert(sizeof(JobNumberBody) == 16);
static_assert(sizeof(JobNoTaskIdBody) == 20);
static_assert(offsetof(JobNoTaskIdBody, clientTaskId) == 16);
static_assert(sizeof(RecvMsgFileBody) == 128);
static_assert(offsetof(RecvMsgFileBody, name) == 4);
static_assert(sizeof(ClientVersionBody) == 120);
static_assert(sizeof(ClientVersionReply) == 124);
static_assert(offsetof(ClientVersionReply, word) == 120);

static_assert(sizeof(BeginSendJobBody) == 908);
static_assert(offsetof(BeginSendJobBody, text4) == 16);
static_assert(offsetof(BeginSendJobBody, reserved44) == 44);
static_assert(offsetof(BeginSendJobBody, remoteName) == 48);
static_assert(offsetof(BeginSendJobBody, jobKind) == 168);
static_assert(offsetof(BeginSendJobBody, pageHeader) == 172);
static_assert(offsetof(BeginSendJobBody, option32) == 176);
static_assert(offsetof(BeginSendJobBody, sendNow) == 180);
static_assert(offsetof(BeginSendJobBody, sendTime) == 184);
static_assert(offsetof(BeginSendJobBody, destinationCount) == 196);
static_assert(offsetof(BeginSendJobBody, word48) == 200);
static_assert(offsetof(BeginSendJobBody, word52) == 204);
static_assert(offsetof(BeginSendJobBody, text56) == 208);
static_assert(offsetof(BeginSendJobBody, word156) == 308);
static_assert(offsetof(BeginSendJobBody, promptVoice) == 312);
static_assert(offsetof(BeginSendJobBody, words404) == 316);
static_assert(offsetof(BeginSendJobBody, text424) == 336);
static_assert(offsetof(BeginSendJobBody, text428) == 340);
static_assert(offsetof(BeginSendJobBody, words488) == 400);
static_assert(offsetof(BeginSendJobBody, text740) == 412);
static_assert(offsetof(BeginSendJobBody, text860) == 532);
static_assert(offsetof(BeginSendJobBody, words1100) == 772);
static_assert(offsetof(BeginSendJobBody, text1136) == 808);

}  // namespace vestrel::fax
