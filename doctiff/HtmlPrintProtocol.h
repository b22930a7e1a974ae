#pragma once
// The one request the local HTML-printing service understands, carried in the frames of
// the fax-server protocol on 127.0.0.1.

#include <cstddef>
#include <cstdint>

namespace vestrel::doctiff {

inline constexpr int kHtmlPrintPort = 1570;
inline constexpr std::uint32_t REQ_HTML_PRINT = 17;      // body: the page's path, NUL-terminated
inline constexpr std::uint32_t REQ_HTML_PRINT_ACK = 18;  // body: word 1 = printed, 0 = not
inline constexpr std::size_t kHtmlPathBodySize = 240;    // the path with its NUL must fit
inline constexpr std::uint8_t kHtmlPrintFlag = 1;

}  // namespace vestrel::doctiff
