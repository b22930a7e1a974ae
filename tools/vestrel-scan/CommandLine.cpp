#include "CommandLine.h"

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
    ScanCommandLine line;
    for (int i = 1; i < argc; ++i) {
        std::string_view option = argv[i];
        std::string_view value;
        bool hasValue = false;
        if (const auto eq = option.find('='); option.starts_with("--") && eq != std::string_view::npos) {
            value = option.substr(eq + 1);
            option = option.substr(0, eq);
            hasValue = true;
        }
        if (option == "--id-copy" && !hasValue) {
            line.idCopy = true;
            continue;
        }
        if (option == "--ebook" && !hasValue) {
            line.ebook = true;
            continue;
        }
        const bool known = option == "--home" || option == "--camera" || option == "--count" ||
                           option == "--interval" || option == "--name";
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
        else if (option == "--name") line.name = std::string(value);
        else if (option == "--count") {
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
