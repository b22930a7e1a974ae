#pragma once
// The transport's log entries, worded as our logs have always read (tools grep for them).

namespace vestrel::fax::logtext {

inline constexpr const char* kShortSend = "Meet retlen != sndlen, retlen = %d,sndlen = %d\r\n";
inline constexpr const char* kSendFailed = "Failed to call Send(),WSAGetLastError() = %d\r\n";
inline constexpr const char* kNoMemory =
    "Failed to allocate new memory when receive the data from the socket\r\n";
inline constexpr const char* kShortHead = "Meet recv uncomplete TcpMsgHead,recv size = %d\r\n";
inline constexpr const char* kRecvZero = "Failed to call recv() retLen = 0,WSAGetLastError() = %d\r\n";
inline constexpr const char* kRecvFailed = "Failed to call recv(),WSAGetLastError() = %d\r\n";
inline constexpr const char* kShortLogicHead =
    "Meet recv uncomplete TcpMsgLogicHead,retSize = %d\r\n";
inline constexpr const char* kLengthMismatch =
    "Meet Recv Wrong Msg, the Meg Length is inconsisitent...\r\n";
inline constexpr const char* kBodyContinues = "Meet recv uncomplete msg, continue to recv\r\n";
inline constexpr const char* kBodyPeerClosed = "Meet recv() retlen == 0...\r\n";
inline constexpr const char* kBodySocketError = "Meet recv() socket error...\r\n";
inline constexpr const char* kReceiveFailed = "Meet recv() error,ret != TCP_SUCCESS,ret = %d\r\n";
inline constexpr const char* kSelectRecvFailed =
    "Failed to call select() for recv,WSAGetLastError() = %d\r\n";
inline constexpr const char* kSelectSendFailed =
    "Failed to call Select() for send,WSAGetLastError() = %d\r\n";
// Written for the send and for the receive time-out alike.
inline constexpr const char* kTimeout = "Meet select() for send timeout...\r\n";

}  // namespace vestrel::fax::logtext
