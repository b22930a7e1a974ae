#include "CommandLine.h"

#include "OptionReader.h"

#include <charconv>
#include <string_view>

namespace vestrel::tools {
namespace {

// Counts and intervals are whole numbers in a sane range: a typo must not start a scan
// run that never ends.
constexpr int kMaxCount = 100000;
constexpr int kMaxIntervalMs = 24 * 60 * 60 * 1000;

std::optional<int> ParseNumber(std::string_view text, int low, int high)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<ScanCommandLine> ParseScanCommandLine(int argc, const char* const* argv, std::string& error)
{
    const std::optional<GivenCommandLine> given =
        ReadOptions(argc, argv,
                    {{"home"}, {"camera"}, {"count"}, {"interval"}, {"name"}, {"id-copy", false}, {"ebook", false}},
                    DoubleDash::IsAWord, error);
    if (!given) return std::nullopt;
    if (!given->words.empty()) {
        error = "unknown option " + given->words.front();
        return std::nullopt;
    }
    ScanCommandLine line;
    for (const auto& [option, value] : given->options) {
        if (option == "id-copy") line.idCopy = true;
        else if (option == "ebook") line.ebook = true;
        else if (option == "home") line.home = value;
        else if (option == "camera") line.camera = value;
        else if (option == "name") line.name = value;
        else if (option == "count") {
            const auto n = ParseNumber(value, 1, kMaxCount);
            if (!n) {
                error = "--count takes a number from 1 to " + std::to_string(kMaxCount);
                return std::nullopt;
            }
            line.count = *n;
        } else {
            const auto ms = ParseNumber(value, 0, kMaxIntervalMs);
            if (!ms) {
                error = "--interval takes milliseconds from 0 to " + std::to_string(kMaxIntervalMs);
                return std::nullopt;
            }
            line.intervalMs = *ms;
        }
    }
    if (line.idCopy && (line.count != 1 || line.name || line.ebook)) {
        error = "--id-copy copies one card under a time name: --count, --name and --ebook do not apply";
        return std::nullopt;
    }
    return line;
}

}  // namespace vestrel::tools
