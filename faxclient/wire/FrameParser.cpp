#include "FrameParser.h"

#include <cstring>

namespace vestrel::fax {

bool TcpMessage::firstWord(std::int32_t& word) const
{
    if (body.size() < sizeof(word))
        return false;
    std::memcpy(&word, body.data(), sizeof(word));
    return true;
}

FrameParser::FrameParser(FrameLimits limits) : limits_(limits) {}

void FrameParser::feed(std::span<const std::uint8_t> bytes)
{
    compact();
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

void FrameParser::feed(const void* data, std::size_t size)
{
    feed(std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(data), size));
}

void FrameParser::reset()
{
    buffer_.clear();
    readPos_ = 0;
    error_ = FrameError::None;
}

void FrameParser::compact()
{
    // Consumed bytes are dropped lazily so a burst of small frames costs no moves.
    if (readPos_ == 0)
        return;
    if (readPos_ == buffer_.size()) {
        buffer_.clear();
    } else if (readPos_ > buffer_.size() / 2) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(readPos_));
    } else {
        return;
    }
    readPos_ = 0;
}

FramePhase FrameParser::phase() const
{
    const std::size_t have = buffered();
    if (have < kTcpMsgHeadSize)
        return FramePhase::Head;
    TcpMsgHead head;
    std::memcpy(&head, buffer_.data() + readPos_, sizeof(head));
    if (head.length < 1)
        return FramePhase::Head;
    return have < kDataFrameHeadSize ? FramePhase::LogicHead : FramePhase::Body;
}

std::size_t FrameParser::bytesWanted() const
{
    const std::size_t have = buffered();
    if (have < kTcpMsgHeadSize)
        return kTcpMsgHeadSize - have;
    TcpMsgHead head;
    std::memcpy(&head, buffer_.data() + readPos_, sizeof(head));
    if (head.length < 1)
        return 1;  // a whole frame is waiting; next() takes it
    if (have < kDataFrameHeadSize)
        return kDataFrameHeadSize - have;
    TcpMsgLogicHead logic;
    std::memcpy(&logic, buffer_.data() + readPos_ + kTcpMsgHeadSize, sizeof(logic));
    if (logic.bodyLength < 1)
        return 1;
    const std::size_t total = kDataFrameHeadSize + static_cast<std::size_t>(logic.bodyLength);
    return total > have ? total - have : 1;
}

FrameParser::Status FrameParser::next(TcpMessage& out)
{
    if (error_ != FrameError::None)
        return Status::Malformed;
    const std::size_t have = buffered();
    if (have < kTcpMsgHeadSize)
        return Status::NeedMore;
    const std::uint8_t* at = buffer_.data() + readPos_;
    TcpMsgHead head;
    std::memcpy(&head, at, sizeof(head));

    if (head.length < 1) {
        // Handshake-style frame: the header is the whole message.
        out.clear();
        out.connId = head.connId;
        out.phyType = head.phyType;
        out.length = head.length;
        readPos_ += kTcpMsgHeadSize;
        return Status::Frame;
    }
    // The logic head is checked as soon as it is complete, before any body arrives, so
    // a lying header never makes us wait for (or allocate) bytes that will not come.
    if (have < kDataFrameHeadSize)
        return Status::NeedMore;
    TcpMsgLogicHead logic;
    std::memcpy(&logic, at + kTcpMsgHeadSize, sizeof(logic));
    const std::int64_t announced = static_cast<std::int64_t>(head.length) - 16;
    if (announced < 0 || logic.bodyLength != announced) {
        error_ = FrameError::LengthMismatch;
        return Status::Malformed;
    }
    const std::size_t bodyLength = static_cast<std::size_t>(announced);
    if (bodyLength > limits_.maxBodyLength) {
        error_ = FrameError::BodyTooLarge;
        return Status::Malformed;
    }
    if (have < kDataFrameHeadSize + bodyLength)
        return Status::NeedMore;

    out.clear();
    out.connId = head.connId;
    out.phyType = head.phyType;
    out.length = head.length;
    out.flag = logic.flag;
    out.segPos = logic.segPos;
    out.msgType = logic.msgType;
    out.bodyLength = logic.bodyLength;
    out.body.assign(at + kDataFrameHeadSize, at + kDataFrameHeadSize + bodyLength);
    readPos_ += kDataFrameHeadSize + bodyLength;
    return Status::Frame;
}

void buildDataFrame(std::uint32_t connId, const LogicFields& fields,
                    std::span<const std::uint8_t> body, std::vector<std::uint8_t>& out)
{
    TcpMsgHead head{connId, PHY_MSG_SENDDATA, static_cast<std::int32_t>(16 + body.size())};
    TcpMsgLogicHead logic{0, fields.flag, fields.segPos, 0, fields.msgType,
                          static_cast<std::int32_t>(body.size())};
    out.resize(kDataFrameHeadSize + body.size());
    std::memcpy(out.data(), &head, sizeof(head));
    std::memcpy(out.data() + kTcpMsgHeadSize, &logic, sizeof(logic));
    if (!body.empty())
        std::memcpy(out.data() + kDataFrameHeadSize, body.data(), body.size());
}

TcpMsgHead makeBareHead(std::uint32_t connId, std::uint32_t phyType)
{
    return TcpMsgHead{connId, phyType, 0};
}

const char* TransportResultText(int code)
{
    switch (code) {
    case TCP_SUCCESS: return "success";
    case TCP_SOCKET_ERROR: return "send or receive failed, or the server closed the connection";
    case TCP_TIMEOUT: return "the server did not answer in time";
    case TCP_WAIT_FAILED: return "waiting for the socket failed";
    case TCP_MALFORMED_FRAME: return "the server sent a malformed frame";
    case TCP_NO_MEMORY: return "out of memory for a frame";
    default: return "unknown transport result";
    }
}

}  // namespace vestrel::fax
