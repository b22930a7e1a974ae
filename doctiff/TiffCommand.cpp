#include "TiffCommand.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace vestrel::doctiff {
namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// A whole non-negative decimal number no larger than kMaxCommandNumber.
std::optional<int> Number(std::string_view s) {
    s = Trim(s);
    int value = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || value < 0 ||
        value > kMaxCommandNumber)
        return std::nullopt;
    return value;
}

// "A/B" with an optional unit text after each number ("1728pix/2444pix").
bool NumberPair(std::string_view s, std::string_view unit, int& first, int& second) {
    const auto slash = s.find('/');
    if (slash == std::string_view::npos) return false;
    auto part = [&](std::string_view p) -> std::optional<int> {
        p = Trim(p);
        if (!unit.empty() && p.size() > unit.size() &&
            Lower(p.substr(p.size() - unit.size())) == unit)
            p.remove_suffix(unit.size());
        return Number(p);
    };
    const auto a = part(s.substr(0, slash));
    const auto b = part(s.substr(slash + 1));
    if (!a || !b) return false;
    first = *a;
    second = *b;
    return true;
}

// "A-B" or a single page "A".
bool PageRange(std::string_view s, int& first, int& last) {
    const auto dash = s.find('-');
    const auto a = Number(s.substr(0, dash));
    const auto b = dash == std::string_view::npos ? a : Number(s.substr(dash + 1));
    if (!a || !b || *a > *b) return false;
    first = *a;
    last = *b;
    return true;
}

std::optional<TiffQuery> QueryOf(std::string_view out) {
    const std::string o = Lower(out);
    if (o == "info_w") return TiffQuery::Width;
    if (o == "info_h") return TiffQuery::Height;
    if (o == "info_x") return TiffQuery::XResolution;
    if (o == "info_y") return TiffQuery::YResolution;
    if (o == "info_p") return TiffQuery::PageCount;
    return std::nullopt;
}

}  // namespace

std::optional<TiffCommand> ParseTiffCommand(std::string_view text, std::string& error) {
    TiffCommand cmd;
    bool haveIn = false, haveOut = false;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find(';', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view item = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (item.empty()) continue;
        const auto eq = item.find('=');
        if (eq == std::string_view::npos) {
            error = "item without '=': " + std::string(item);
            return std::nullopt;
        }
        const std::string key = Lower(Trim(item.substr(0, eq)));
        const std::string_view value = Trim(item.substr(eq + 1));
        if (key == "in") {
            cmd.input = value;
            haveIn = !value.empty();
        } else if (key == "out") {
            if (auto q = QueryOf(value)) {
                cmd.query = *q;
                cmd.output.clear();
            } else {
                cmd.query = TiffQuery::None;
                cmd.output = value;
            }
            haveOut = !value.empty();
        } else if (key == "pages") {
            if (!PageRange(value, cmd.firstPage, cmd.lastPage)) {
                error = "bad page range: " + std::string(value);
                return std::nullopt;
            }
        } else if (key == "save") {
            const auto v = Number(value);
            if (!v || *v > 1) {
                error = "bad save flag: " + std::string(value);
                return std::nullopt;
            }
            cmd.save = *v == 1;
        } else if (key == "rotate") {
            const auto v = Number(value);
            if (!v || (*v != 0 && *v != 90 && *v != 180 && *v != 270)) {
                error = "bad rotation: " + std::string(value);
                return std::nullopt;
            }
            cmd.rotate = *v;
        } else if (key == "format") {
            // "tif/35": a file kind and the processor's format number.
            const auto slash = value.find('/');
            const std::string kind = Lower(Trim(value.substr(0, slash)));
            const int number = slash == std::string_view::npos
                                   ? -1 : Number(value.substr(slash + 1)).value_or(-1);
            if ((kind != "tif" && kind != "tiff") || (number != 34 && number != 35)) {
                error = "unsupported format: " + std::string(value);
                return std::nullopt;
            }
            cmd.format = number;
        } else if (key == "res") {
            if (!NumberPair(value, "", cmd.xResolution, cmd.yResolution) ||
                cmd.xResolution < 1 || cmd.yResolution < 1) {
                error = "bad resolution: " + std::string(value);
                return std::nullopt;
            }
        } else if (key == "size") {
            if (!NumberPair(value, "pix", cmd.pageWidth, cmd.pageHeight) || cmd.pageWidth < 1 ||
                cmd.pageHeight < 1) {
                error = "bad page size: " + std::string(value);
                return std::nullopt;
            }
        } else {
            error = "unknown key: " + key;
            return std::nullopt;
        }
    }
    if (!haveIn || !haveOut) {
        error = "a command needs in= and out=";
        return std::nullopt;
    }
    return cmd;
}

}  // namespace vestrel::doctiff
