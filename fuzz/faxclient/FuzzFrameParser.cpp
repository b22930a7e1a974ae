// Feeds arbitrary server bytes to the frame parser in arbitrary slices: every frame it hands
// out must be self-consistent and no announced length may make it allocate past its limit.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "FrameParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using vestrel::fax::FrameParser;
    // A small limit keeps the fuzzer's memory low and puts the limit check in reach.
    FrameParser parser(vestrel::fax::FrameLimits{4096});
    std::size_t offset = 0;
    while (offset < size) {
        // The first byte of each round chooses how much arrives in one read.
        const std::size_t slice = 1 + data[offset] % 64;
        ++offset;
        const std::size_t take = slice < size - offset ? slice : size - offset;
        parser.feed(data + offset, take);
        offset += take;
        vestrel::fax::TcpMessage frame;
        for (;;) {
            const FrameParser::Status status = parser.next(frame);
            if (status == FrameParser::Status::Malformed)
                return 0;
            if (status == FrameParser::Status::NeedMore)
                break;
            if (frame.hasLogicHead() &&
                (frame.bodyLength != frame.length - 16 ||
                 frame.body.size() != static_cast<std::size_t>(frame.bodyLength) ||
                 frame.body.size() > parser.limits().maxBodyLength))
                std::abort();
            if (!frame.hasLogicHead() && !frame.body.empty())
                std::abort();
        }
        if (parser.bytesWanted() == 0)
            std::abort();
    }
    return 0;
}
