#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "FrameParser.h"
#include "MessageTypes.h"

namespace vestrel::fax {
namespace {

std::vector<std::uint8_t> frameBytes(std::uint32_t type, std::uint8_t seg, std::vector<std::uint8_t> body)
{
    std::vector<std::uint8_t> bytes;
    buildDataFrame(7, {type, 1, seg}, body, bytes);
    return bytes;
}

std::vector<std::uint8_t> rawHeads(std::int32_t length, std::int32_t bodyLength)
{
    TcpMsgHead head{1, PHY_MSG_SENDDATA, length};
    TcpMsgLogicHead logic{0, 0, SEG_WHOLE, 0, REQ_GET_USERINFO_ACK, bodyLength};
    std::vector<std::uint8_t> bytes(sizeof(head) + sizeof(logic));
    std::memcpy(bytes.data(), &head, sizeof(head));
    std::memcpy(bytes.data() + sizeof(head), &logic, sizeof(logic));
    return bytes;
}

TEST(FrameParser, AssemblesFramesFedOneByteAtATime)
{
    std::vector<std::uint8_t> stream = frameBytes(REQ_RESULT_TASK_ACK, SEG_LAST, {1, 2, 3, 4, 5});
    const std::vector<std::uint8_t> second = frameBytes(REQ_END_SYNCALL_ACK, SEG_WHOLE, {});
    stream.insert(stream.end(), second.begin(), second.end());

    FrameParser parser;
    std::vector<TcpMessage> frames;
    for (std::uint8_t byte : stream) {
        parser.feed(&byte, 1);
        TcpMessage frame;
        while (parser.next(frame) == FrameParser::Status::Frame)
            frames.push_back(frame);
    }
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].connId, 7u);
    EXPECT_EQ(frames[0].phyType, PHY_MSG_SENDDATA);
    EXPECT_EQ(frames[0].msgType, REQ_RESULT_TASK_ACK);
    EXPECT_EQ(frames[0].segPos, SEG_LAST);
    EXPECT_EQ(frames[0].flag, 1);
    EXPECT_EQ(frames[0].body, (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(frames[1].msgType, REQ_END_SYNCALL_ACK);
    EXPECT_TRUE(frames[1].body.empty());
    EXPECT_EQ(parser.buffered(), 0u);
}

TEST(FrameParser, HeaderOnlyFrameEndsAtTheHeader)
{
    // A server drop: length 0, no logic head; the next frame follows directly.
    const TcpMsgHead drop = makeBareHead(9, PHY_CONN_UNAVAILBLE);
    std::vector<std::uint8_t> stream(sizeof(drop));
    std::memcpy(stream.data(), &drop, sizeof(drop));
    const std::vector<std::uint8_t> next = frameBytes(REQ_CANCEL_JOB_ACK, SEG_WHOLE, {0, 0, 0, 0});
    stream.insert(stream.end(), next.begin(), next.end());

    FrameParser parser;
    parser.feed(stream);
    TcpMessage frame;
    ASSERT_EQ(parser.next(frame), FrameParser::Status::Frame);
    EXPECT_EQ(frame.phyType, PHY_CONN_UNAVAILBLE);
    EXPECT_FALSE(frame.hasLogicHead());
    EXPECT_EQ(frame.msgType, 0u);
    ASSERT_EQ(parser.next(frame), FrameParser::Status::Frame);
    EXPECT_EQ(frame.msgType, REQ_CANCEL_JOB_ACK);
}

TEST(FrameParser, InconsistentLengthsAreMalformedBeforeAnyBodyArrives)
{
    struct Case { std::int32_t length, bodyLength; };
    // Body length off by four; a negative body that matched the old absolute-value check;
    // a length too short to hold the logic head.
    for (const Case c : {Case{16 + 8, 12}, Case{10, -6}, Case{16 + 8, -8}, Case{5, 0}}) {
        FrameParser parser;
        parser.feed(rawHeads(c.length, c.bodyLength));
        TcpMessage frame;
        EXPECT_EQ(parser.next(frame), FrameParser::Status::Malformed) << c.length << "/" << c.bodyLength;
        EXPECT_EQ(parser.error(), FrameError::LengthMismatch);
    }
}

TEST(FrameParser, BodyAboveTheLimitIsMalformedWithoutAllocatingIt)
{
    FrameParser parser;
    const std::int32_t huge = 1 << 30;
    parser.feed(rawHeads(16 + huge, huge));
    TcpMessage frame;
    EXPECT_EQ(parser.next(frame), FrameParser::Status::Malformed);
    EXPECT_EQ(parser.error(), FrameError::BodyTooLarge);

    // Exactly at a (small) limit is fine; one byte over is not.
    FrameParser small(FrameLimits{8});
    small.feed(frameBytes(REQ_RECV_MSGFILEPACKET_ACK, SEG_MIDDLE, std::vector<std::uint8_t>(8, 0xAB)));
    EXPECT_EQ(small.next(frame), FrameParser::Status::Frame);
    small.feed(frameBytes(REQ_RECV_MSGFILEPACKET_ACK, SEG_MIDDLE, std::vector<std::uint8_t>(9, 0xAB)));
    EXPECT_EQ(small.next(frame), FrameParser::Status::Malformed);
}

TEST(FrameParser, ReportsPhaseAndBytesWantedWhileAssembling)
{
    const std::vector<std::uint8_t> stream = frameBytes(REQ_RESULT_TASK_ACK, SEG_LAST, std::vector<std::uint8_t>(48));
    FrameParser parser;
    EXPECT_EQ(parser.phase(), FramePhase::Head);
    EXPECT_EQ(parser.bytesWanted(), 12u);
    parser.feed(stream.data(), 20);
    EXPECT_EQ(parser.phase(), FramePhase::LogicHead);
    EXPECT_EQ(parser.bytesWanted(), 8u);
    parser.feed(stream.data() + 20, 30);
    EXPECT_EQ(parser.phase(), FramePhase::Body);
    EXPECT_EQ(parser.bytesWanted(), stream.size() - 50);
    TcpMessage frame;
    EXPECT_EQ(parser.next(frame), FrameParser::Status::NeedMore);
}

}  // namespace
}  // namespace vestrel::fax
