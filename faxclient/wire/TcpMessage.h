#pragma once
// One received frame: both headers' fields and the body, owned by whoever holds it.

#include <cstdint>
#include <vector>

#include "WireRecords.h"

namespace vestrel::fax {

struct TcpMessage {
    std::uint32_t connId = 0;
    std::uint32_t phyType = 0;
    std::int32_t length = 0;      // TcpMsgHead.length as received
    std::uint8_t flag = 0;
    std::uint8_t segPos = 0;
    std::uint32_t msgType = 0;    // 0 for a frame without logic head
    std::int32_t bodyLength = 0;
    std::vector<std::uint8_t> body;  // exactly bodyLength bytes, empty when below 1

    bool hasLogicHead() const { return length >= 1; }
    // The body's first 32-bit word, the answer of most replies; false when the body is shorter.
    bool firstWord(std::int32_t& word) const;
    void clear() { *this = TcpMessage{}; }
};

// The fields a sender chooses for one data frame.
struct LogicFields {
    std::uint32_t msgType = 0;
    std::uint8_t flag = 0;
    std::uint8_t segPos = SEG_WHOLE;
};

}  // namespace vestrel::fax
