#pragma once
// Serialised pictures carry a CRC that would stop almost every mutation at the door; the
// fuzz targets make it right first so that the field checks and the planes are reached.

#include "DumpFormat.h"

#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace vestrel::fuzzing {

// Writes the CRC the header's fields and payload (as far as it is there) call for.
inline void FixDumpCrc(std::vector<std::uint8_t>& dump)
{
    namespace df = vestrel::dumpformat;
    if (dump.size() < sizeof(df::Header)) return;
    std::uint64_t payload = 0;
    std::memcpy(&payload, dump.data() + offsetof(df::Header, payloadBytes), sizeof payload);
    payload = std::min<std::uint64_t>(payload, dump.size() - sizeof(df::Header));
    constexpr std::size_t crcAt = offsetof(df::Header, crc), afterCrc = crcAt + 4;
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, dump.data(), uInt(crcAt));
    crc = crc32(crc, dump.data() + afterCrc, uInt(sizeof(df::Header) - afterCrc));
    crc = crc32(crc, dump.data() + sizeof(df::Header), uInt(payload));
    const auto value = std::uint32_t(crc);
    std::memcpy(dump.data() + crcAt, &value, sizeof value);
}

}  // namespace vestrel::fuzzing
