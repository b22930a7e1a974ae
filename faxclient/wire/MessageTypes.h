#pragma once
// The message catalogue of the fax-server protocol: request codes and their replies.

#include <cstdint>

namespace vestrel::fax {

inline constexpr std::uint32_t REQ_SERVER_AUTH = 1;
inline constexpr std::uint32_t REQ_SERVER_AUTH_ACK = 2;
inline constexpr std::uint32_t REQ_INITSEND_CLIJOB = 3;
inline constexpr std::uint32_t REQ_INITSEND_CLIJOB_ACK = 4;
inline constexpr std::uint32_t REQ_BEGINSEND_CLIJOB = 5;
inline constexpr std::uint32_t REQ_BEGINSEND_CLIJOB_ACK = 6;
inline constexpr std::uint32_t REQ_SEND_CLITASK = 7;
inline constexpr std::uint32_t REQ_SEND_CLITASK_ACK = 8;
inline constexpr std::uint32_t REQ_SEND_CLITASK_END = 9;
inline constexpr std::uint32_t REQ_SEND_CLITASK_NAK = 16;
inline constexpr std::uint32_t REQ_RESULT_SYNCALL = 19;
inline constexpr std::uint32_t REQ_RESULT_NUMOFTASK_ACK = 20;
inline constexpr std::uint32_t REQ_RESULT_TASK = 21;
inline constexpr std::uint32_t REQ_RESULT_TASK_ACK = 22;
inline constexpr std::uint32_t REQ_END_SYNCALL = 23;
inline constexpr std::uint32_t REQ_END_SYNCALL_ACK = 24;
inline constexpr std::uint32_t REQ_FTP_ACCESSINFO = 25;
inline constexpr std::uint32_t REQ_FTP_ACCESSINFO_ACK = 26;
inline constexpr std::uint32_t REQ_REMOVE_SPECIFICFILE = 27;
inline constexpr std::uint32_t REQ_REMOVE_SPECIFICFILE_ACK = 28;
inline constexpr std::uint32_t REQ_SERVER_AUTHEX = 29;
inline constexpr std::uint32_t REQ_SERVER_AUTHEX_ACK = 30;
inline constexpr std::uint32_t REQ_CANCEL_JOB = 33;
inline constexpr std::uint32_t REQ_CANCEL_JOB_ACK = 34;
inline constexpr std::uint32_t REQ_SEND_CLIPHTASK = 35;
inline constexpr std::uint32_t REQ_SEND_CLIPHTASK_ACK = 36;
inline constexpr std::uint32_t REQ_SEND_CLIPHTASK_END = 37;
inline constexpr std::uint32_t REQ_SEND_CLIPHTASK_NAK = 38;
inline constexpr std::uint32_t REQ_SEND_CLICUSTOMTASK = 39;
inline constexpr std::uint32_t REQ_SEND_CLICUSTOMTASK_ACK = 40;
inline constexpr std::uint32_t REQ_SEND_CLICUSTOMTASK_END = 41;
inline constexpr std::uint32_t REQ_SEND_CLICUSTOMTASK_NAK = 42;
inline constexpr std::uint32_t REQ_RESULTTASK_JOBNOTASKID = 43;
inline constexpr std::uint32_t REQ_RESULTTASK_JOBNOTASKID_ACK = 44;
inline constexpr std::uint32_t REQ_CHECKJOB_FINISH = 45;
inline constexpr std::uint32_t REQ_CHECKJOB_FINISH_ACK = 46;
inline constexpr std::uint32_t REQ_RESULTTASK_JOBNO = 47;
inline constexpr std::uint32_t REQ_SEND_MSGFILE = 48;
inline constexpr std::uint32_t REQ_SEND_MSGFILE_ACK = 49;
inline constexpr std::uint32_t REQ_SEND_MSGFILEPACKET = 50;
inline constexpr std::uint32_t REQ_SEND_MSGFILEPACKET_ACK = 51;
inline constexpr std::uint32_t REQ_RECVTASK_SYNCALL = 64;
inline constexpr std::uint32_t REQ_RECVTASK_NUMOFTASK_ACK = 65;
inline constexpr std::uint32_t REQ_RESULT_RECVTASK = 66;
inline constexpr std::uint32_t REQ_RESULT_RECVTASK_ACK = 67;
inline constexpr std::uint32_t REQ_ENDRECVTASK_SYNCALL = 68;
inline constexpr std::uint32_t REQ_ENDRECVTASK_SYNCALL_ACK = 69;
inline constexpr std::uint32_t REQ_ICRECVTASK_SYNCALL = 70;
inline constexpr std::uint32_t REQ_ICRECVTASK_NUMOFTASK_ACK = 71;
inline constexpr std::uint32_t REQ_RESULT_ICRECVTASK = 72;
inline constexpr std::uint32_t REQ_RESULT_ICRECVTASK_ACK = 73;
inline constexpr std::uint32_t REQ_ENDICRECVTASK_SYNCALL = 74;
inline constexpr std::uint32_t REQ_ENDICRECVTASK_SYNC = 76;
inline constexpr std::uint32_t REQ_RECV_MSGFILE = 80;
inline constexpr std::uint32_t REQ_RECV_MSGFILE_ACK = 81;
inline constexpr std::uint32_t REQ_RECV_MSGFILEPACKET = 82;
inline constexpr std::uint32_t REQ_RECV_MSGFILEPACKET_ACK = 83;
inline constexpr std::uint32_t REQ_CLIENT_VERSION = 96;
inline constexpr std::uint32_t REQ_CLIENT_VERSION_ACK = 97;
inline constexpr std::uint32_t REQ_DOWNLOAD_NEWCLIENT = 98;
inline constexpr std::uint32_t REQ_DOWNLOAD_NEWCLIENTFILE = 100;
inline constexpr std::uint32_t REQ_DOWNLOAD_NEWCLIENTPACKET = 102;
inline constexpr std::uint32_t REQ_TTS_CONVERT = 108;
inline constexpr std::uint32_t REQ_GET_USERINFO = 112;
inline constexpr std::uint32_t REQ_GET_USERINFO_ACK = 113;
inline constexpr std::uint32_t REQ_MODIFY_PASSWORD = 114;
inline constexpr std::uint32_t REQ_MODIFY_PASSWORD_ACK = 115;
inline constexpr std::uint32_t REQ_MODIFY_USERSETTING = 116;
inline constexpr std::uint32_t REQ_MODIFY_USERSETTING_ACK = 117;
inline constexpr std::uint32_t REQ_ICUSERSETTING_BYDID = 128;
inline constexpr std::uint32_t REQ_ICUSERSETTING_BYUSERIDEX = 132;

// Most send results, received-fax records and file pieces one reply may carry.
inline constexpr int MAXTASKSONEQUERY = 50;
inline constexpr int MAXRECVTASKSONEQUERY = 4;
inline constexpr int kFilePieceSize = 1024;

}  // namespace vestrel::fax
