#include "RecordCommandLine.h"

#include "OptionReader.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace vestrel::tools {
namespace {

// A week: a typo must not start a recording that fills the disk.
constexpr double kMaxSeconds = 7 * 24 * 3600.0;

std::optional<FrameSize> ParseSize(std::string_view text)
{
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) return std::nullopt;
    FrameSize size;
    const auto w = std::from_chars(text.data(), text.data() + x, size.width);
    const auto h = std::from_chars(text.data() + x + 1, text.data() + text.size(), size.height);
    if (w.ec != std::errc() || w.ptr != text.data() + x || h.ec != std::errc() ||
        h.ptr != text.data() + text.size() || size.empty())
        return std::nullopt;
    return size;
}

std::optional<double> ParseSeconds(std::string_view text)
{
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value) || value <= 0 ||
        value > kMaxSeconds)
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<RecordCommandLine> ParseRecordCommandLine(int argc, const char* const* argv, std::string& error)
{
    const std::optional<GivenCommandLine> given = ReadOptions(
        argc, argv, {{"home"}, {"camera"}, {"size"}, {"seconds"}, {"out"}}, DoubleDash::IsAWord, error);
    if (!given) return std::nullopt;
    if (!given->words.empty()) {
        error = "unknown option " + given->words.front();
        return std::nullopt;
    }
    RecordCommandLine line;
    for (const auto& [option, value] : given->options) {
        if (option == "home") line.home = value;
        else if (option == "camera") line.camera = value;
        else if (option == "out") line.out = value;
        else if (option == "size") {
            line.size = ParseSize(value);
            if (!line.size) {
                error = "--size takes WIDTHxHEIGHT, such as 1280x720";
                return std::nullopt;
            }
        } else {
            line.seconds = ParseSeconds(value);
            if (!line.seconds) {
                error = "--seconds takes a number of seconds above 0";
                return std::nullopt;
            }
        }
    }
    return line;
}

}  // namespace vestrel::tools
