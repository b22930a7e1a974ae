#pragma once
// Turns the byte stream of a fax-server connection into frames. It is fed bytes and hands
// out whole frames; it never touches a socket, so the transport, the fake server, the
// tests and the fuzzer all drive the same code. A peer is outside our control: every
// announced length is checked before anything is allocated.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "TcpMessage.h"

namespace vestrel::fax {

struct FrameLimits {
    // A body larger than this is a malformed frame, whatever the header announces.
    std::size_t maxBodyLength = 16u * 1024u * 1024u;
};

enum class FrameError {
    None,
    LengthMismatch,  // TcpMsgLogicHead.bodyLength disagrees with TcpMsgHead.length - 16
    BodyTooLarge,    // the announced body exceeds FrameLimits::maxBodyLength
};

// Where the parser stands inside the frame it is assembling.
enum class FramePhase { Head, LogicHead, Body };

class FrameParser {
public:
    enum class Status { NeedMore, Frame, Malformed };

    explicit FrameParser(FrameLimits limits = {});

    // Appends received bytes.
    void feed(std::span<const std::uint8_t> bytes);
    void feed(const void* data, std::size_t size);

    // Takes the next whole frame out of the buffered bytes. After Malformed the stream
    // cannot be resynchronised: the caller drops the connection (or calls reset()).
    Status next(TcpMessage& out);

    FrameError error() const { return error_; }
    FramePhase phase() const;
    // Bytes buffered that do not form a whole frame yet.
    std::size_t buffered() const { return buffer_.size() - readPos_; }
    // How many more bytes complete the frame being assembled (at least 1).
    std::size_t bytesWanted() const;
    const FrameLimits& limits() const { return limits_; }
    void reset();

private:
    void compact();

    FrameLimits limits_;
    std::vector<std::uint8_t> buffer_;
    std::size_t readPos_ = 0;
    FrameError error_ = FrameError::None;
};

// Serialises one data frame (both heads and the body) into `out`, replacing its content.
void buildDataFrame(std::uint32_t connId, const LogicFields& fields,
                    std::span<const std::uint8_t> body, std::vector<std::uint8_t>& out);
// A frame of headers only: handshake request and accept, PHY_CONN_UNAVAILBLE.
TcpMsgHead makeBareHead(std::uint32_t connId, std::uint32_t phyType);

}  // namespace vestrel::fax
