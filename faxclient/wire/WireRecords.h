#pragma once
// The two fixed headers that frame every message on a fax-server connection, and the
// codes that travel in them. All integers are little-endian on the wire and no field is
// converted to network byte order; we only build for little-endian hosts, so the structs
// are written and read as they lie in memory.

#include <cstddef>
#include <cstdint>

namespace vestrel::fax {

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "the wire records are copied as they lie in memory");

#pragma pack(push, 1)

// Starts every frame in both directions.
struct TcpMsgHead {
    std::uint32_t connId;   // 0 in the connect request, then the id from the server's accept
    std::uint32_t phyType;  // one of the PHY_* values below
    std::int32_t length;    // bytes after this header: 0 for handshake frames, 16 + body else
};

// Follows TcpMsgHead in every data frame.
struct TcpMsgLogicHead {
    std::uint16_t reserved0;  // always 0
    std::uint8_t flag;        // per-message flag byte; the client never judges replies by it
    std::uint8_t segPos;      // SEG_* below: where this frame sits in a multi-frame message
    std::uint32_t reserved1;  // always 0
    std::uint32_t msgType;    // request or reply code (MessageTypes.h)
    std::int32_t bodyLength;  // body bytes after this header; equals TcpMsgHead.length - 16
};

#pragma pack(pop)

static_assert(sizeof(TcpMsgHead) == 12);
static_assert(offsetof(TcpMsgHead, connId) == 0);
static_assert(offsetof(TcpMsgHead, phyType) == 4);
static_assert(offsetof(TcpMsgHead, length) == 8);

static_assert(sizeof(TcpMsgLogicHead) == 16);
static_assert(offsetof(TcpMsgLogicHead, reserved0) == 0);
static_assert(offsetof(TcpMsgLogicHead, flag) == 2);
static_assert(offsetof(TcpMsgLogicHead, segPos) == 3);
static_assert(offsetof(TcpMsgLogicHead, reserved1) == 4);
static_assert(offsetof(TcpMsgLogicHead, msgType) == 8);
static_assert(offsetof(TcpMsgLogicHead, bodyLength) == 12);

inline constexpr std::size_t kTcpMsgHeadSize = sizeof(TcpMsgHead);
inline constexpr std::size_t kTcpMsgLogicHeadSize = sizeof(TcpMsgLogicHead);
inline constexpr std::size_t kDataFrameHeadSize = kTcpMsgHeadSize + kTcpMsgLogicHeadSize;

// Physical types of TcpMsgHead.
inline constexpr std::uint32_t PHY_CONN_REQUEST = 1;     // client -> server, first frame
inline constexpr std::uint32_t PHY_CONN_ACCEPT = 2;      // server -> client, carries the id
inline constexpr std::uint32_t PHY_MSG_SENDDATA = 3;     // every data frame
inline constexpr std::uint32_t PHY_CONN_UNAVAILBLE = 10; // server drops the client (also
                                                         // made up locally after a failed receive)

// Segment positions of TcpMsgLogicHead.
inline constexpr std::uint8_t SEG_FIRST = 0;
inline constexpr std::uint8_t SEG_MIDDLE = 1;
inline constexpr std::uint8_t SEG_LAST = 2;
inline constexpr std::uint8_t SEG_WHOLE = 3;

// Results of the transport's connect.
inline constexpr int CONNECT_OK = 0;
inline constexpr int CONNECT_FAILED = 1;
inline constexpr int CONNECT_TIMEOUT = 2;

// Results of one exchange (and of its send and receive halves).
inline constexpr int TCP_SUCCESS = 0;
inline constexpr int TCP_SOCKET_ERROR = 1;     // send/receive failed, peer closed, short header
inline constexpr int TCP_TIMEOUT = 2;          // open after a send time-out, closed after receive
inline constexpr int TCP_WAIT_FAILED = 3;      // waiting for writability failed
inline constexpr int TCP_MALFORMED_FRAME = 5;  // short logic head, length mismatch, body too large
inline constexpr int TCP_NO_MEMORY = 11;       // no memory for a frame

// A short English description of an exchange result, for tools and logs.
const char* TransportResultText(int code);

}  // namespace vestrel::fax
