#pragma once
// Log entries of the fax client's requests, worded as our logs have always read. Texts
// with %s take the request's name (for example "REQ_GET_USERINFO").

namespace vestrel::fax::logtext {

inline constexpr const char* kConnectFailed = "Failed to connect the server\r\n";
inline constexpr const char* kAuthSendFailed = "Failed tp Send %s Msg to the Server\r\n";
inline constexpr const char* kAuthWrongReply = "Get Non %s MSG after send %s request\r\n";
inline constexpr const char* kAlreadyConnected = "The Connection to Server is already established\r\n";
inline constexpr const char* kAuthFailed = "The Authentication to Server is failed\r\n";
inline constexpr const char* kAuthPassed = "Successfully to pass the Server authentication\r\n";
inline constexpr const char* kLogOpenFailed = "Failed to open the log File,FileName = %s\r\n";

inline constexpr const char* kRequestSendFailed = "Failed to send %s to Server\r\n";
inline constexpr const char* kNonSendData = "Received a Non PHY_MSG_SENDDATA Msg after send %s\r\n";
inline constexpr const char* kUnexpectedReply = "Recevied an unexpecxted Msg after send %s\r\n";
inline constexpr const char* kWrongReply = "Receive a wrong %s_ACK Msg\r\n";
inline constexpr const char* kServerDropped = "Recv PHY_CONN_UNAVAILBLE,The Client will be closed\r\n";

inline constexpr const char* kWrongFaxNumber = "The Fax Number is Wrong\r\n";
inline constexpr const char* kWrongFileFormat = "The Fax File Format is invalid\r\n";
inline constexpr const char* kUploadFailed =
    "Failed to transmit file With TCP,LocalFile = %s,RemoteFile = %s\r\n";
inline constexpr const char* kCustomUploadFailed =
    "Failed to transmit the Custom content File: LocalFile = %s,RemoteFile = %s\r\n";
inline constexpr const char* kPromptUploadFailed =
    "Failed to transmit prompt file to server,localFile = %s, remoteFile = %s\r\n";
inline constexpr const char* kRenderFailed = "Failed to Print the submited File in Platform\r\n";
inline constexpr const char* kPacketNak = "Receive a NAK response for the Msg %s\r\n";
inline constexpr const char* kPacketOther = "Receive a Non ACK or NAK msg after send %s\r\n";
inline constexpr const char* kPacketAck = "Receive a %s_ACK for the Msg %s\r\n";

inline constexpr const char* kCancelWrongReply = "Receive NON REQ_CANCEL_JOB_ACK msg after send REQ_CANCEL_JOB\r\n";
inline constexpr const char* kCancelled = "Sucessfully to cancel %d Tasks for JobNo %s\r\n";

inline constexpr const char* kCountWrongReply = "Receive non %s message\r\n";
inline constexpr const char* kNothingWaiting = "Receive %s Msg, but the numOfTasks = %d\r\n";
inline constexpr const char* kPullUnexpected =
    "Receive an unexpected Message when call ProcessRecvQueryResult()\r\n";
inline constexpr const char* kIllegalBatch = "Meet Illegal Packet when process %s\r\n";
inline constexpr const char* kTooManyInBatch =
    "Exception:received the query task num is exceed MAXTASKSONEQUERY\r\n";
inline constexpr const char* kResultsPulled = "Get Total %d Query Result Tasks\r\n";
inline constexpr const char* kRecvTasksPulled = "Get Total %d Query Result Recv Tasks\r\n";

inline constexpr const char* kDownloadFailed = "Failed to Recv the RecvTask file, filename = %s\r\n";
inline constexpr const char* kLocalFileFailed = "Failed to create recv File,File Name = %s\r\n";
inline constexpr const char* kDownloaded = "Successfully to Get RecvFile: %s\r\n";

}  // namespace vestrel::fax::logtext
