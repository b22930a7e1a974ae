#include "RecordCommandLine.h"

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
    RecordCommandLine line;
    for (int i = 1; i < argc; ++i) {
        std::string_view option = argv[i];
        std::string_view value;
        bool hasValue = false;
        if (const auto eq = option.find('='); option.starts_with("--") && eq != std::string_view::npos) {
            value = option.substr(eq + 1);
            option = option.substr(0, eq);
            hasValue = true;
        }
        const bool known = option == "--home" || option == "--camera" || option == "--size" ||
                           option == "--seconds" || option == "--out";
        if (!known) {
            error = "unknown option " + std::string(option);
            return std::nullopt;
        }
        if (!hasValue) {
            if (i + 1 >= argc) {
                error = std::string(option) + " needs a value";
                return std::nullopt;
            }
            value = argv[++i];
        }
        if (option == "--home") line.home = std::string(value);
        else if (option == "--camera") line.camera = std::string(value);
        else if (option == "--out") line.out = std::string(value);
        else if (option == "--size") {
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
