#pragma once
// One TCP connection to a fax server (or to the local HTML-printing service): connect and
// handshake, then strict question-and-answer exchanges of data frames.
//
// Waiting is bounded by the connection's time-out through the socket's own send and
// receive time-outs, so an exchange costs one send() and, for a reply that arrives in one
// piece, one recv(); the kernel does the waiting a select() would do. A reply that trickles
// in is cut off at twice the time-out at worst. Every failure is written to the log given
// with setLog() (none: no log).

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "FrameParser.h"
#include "TcpMessage.h"

namespace vestrel::fax {

class LogFile;

inline constexpr int kDefaultTimeoutMs = 60000;

class TcpTransport {
public:
    TcpTransport();
    ~TcpTransport();
    TcpTransport(const TcpTransport&) = delete;
    TcpTransport& operator=(const TcpTransport&) = delete;

    void setLog(LogFile* log) { log_ = log; }
    void setLimits(FrameLimits limits);

    // Connects to host:port (a dotted IPv4 address or a name) and performs the handshake.
    // CONNECT_OK, CONNECT_FAILED (socket, name or handshake failure) or CONNECT_TIMEOUT (no
    // accept frame within the time-out). A non-positive time-out means kDefaultTimeoutMs.
    int connect(const std::string& host, int port, int timeoutMs);

    // Sends one data frame and receives exactly one frame back: TCP_SUCCESS or one of the
    // other TCP_* codes. On failure `reply` is a made-up PHY_CONN_UNAVAILBLE frame.
    int exchange(const LogicFields& fields, std::span<const std::uint8_t> body, TcpMessage& reply);
    // The two halves of exchange(), for peers that speak first.
    int sendFrame(const LogicFields& fields, std::span<const std::uint8_t> body);
    int receiveFrame(TcpMessage& reply);

    void disconnect();
    bool isConnected() const { return fd_ >= 0; }
    std::uint32_t connectionId() const { return connId_; }
    int timeoutMs() const { return timeoutMs_; }

private:
    void logText(const char* text);
    void logf(const char* format, int a, int b = 0);
    int failReceive(int code, TcpMessage& reply);
    void applySocketTimeouts();

    LogFile* log_ = nullptr;
    int fd_ = -1;
    std::uint32_t connId_ = 0;
    int timeoutMs_ = kDefaultTimeoutMs;
    FrameParser parser_;
    std::vector<std::uint8_t> sendBuffer_;     // reused: an upload sends thousands of frames
    std::vector<std::uint8_t> receiveBuffer_;
};

}  // namespace vestrel::fax
