#include "IniFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace vestrel {
namespace {

bool sameName(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
}

std::string_view trim(std::string_view s)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

// Cuts UTF-8 text to `limit` characters; a continuation byte never starts a character.
std::string cutToCharacters(std::string_view s, std::size_t limit)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (chars == limit) return std::string(s.substr(0, i));
            ++chars;
        }
    }
    return std::string(s);
}

}  // namespace

int AtoiRules(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) break;
    }
    if (negative) value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) {}

bool IniFile::load()
{
    lines_.clear();
    std::error_code ec;
    if (!std::filesystem::exists(path_, ec)) return true;
    std::ifstream in(path_, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) return false;
    parse(content.str());
    return true;
}

void IniFile::parse(std::string_view text)
{
    lines_.clear();
    bom_ = text.starts_with("\xEF\xBB\xBF");
    if (bom_) text.remove_prefix(3);
    crlf_ = text.find("\r\n") != std::string_view::npos;

    std::string section;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view raw = text.substr(start, end - start);
        if (raw.ends_with('\r')) raw.remove_suffix(1);
        start = end + 1;

        Line line{.raw = std::string(raw), .section = section};
        const std::string_view t = trim(raw);
        if (t.starts_with('[')) {
            const auto close = t.find(']');
            if (close != std::string_view::npos) {
                section = std::string(trim(t.substr(1, close - 1)));
                line.section = section;
                line.isHeader = true;
            }
        } else if (!t.starts_with(';')) {
            const auto eq = t.find('=');
            if (eq != std::string_view::npos && eq > 0) {
                line.isKey = true;
                line.key = std::string(trim(t.substr(0, eq)));
            }
        }
        lines_.push_back(std::move(line));
    }
}

std::optional<std::size_t> IniFile::find(std::string_view section, std::string_view key) const
{
    // The first section of a name wins, as does the first key inside it.
    bool inSection = false;
    bool seenSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.isHeader) {
            if (seenSection && inSection) return std::nullopt;
            inSection = sameName(line.section, section);
            seenSection = seenSection || inSection;
            continue;
        }
        if (inSection && line.isKey && sameName(line.key, key)) return i;
    }
    return std::nullopt;
}

bool IniFile::contains(std::string_view section, std::string_view key) const
{
    return find(section, key).has_value();
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view fallback, std::size_t limit) const
{
    const auto index = find(section, key);
    if (!index) return cutToCharacters(fallback, limit);
    const std::string& raw = lines_[*index].raw;
    std::string_view value = trim(std::string_view(raw).substr(raw.find('=') + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return cutToCharacters(value, limit);
}

int IniFile::readInt(std::string_view section, std::string_view key, int fallback,
                     std::size_t limit) const
{
    if (!contains(section, key)) return fallback;
    return AtoiRules(readString(section, key, "", limit));
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    // A value can hold no line end: it would split into lines the reader takes for keys.
    std::string clean(value);
    std::ranges::replace(clean, '\n', ' ');
    std::ranges::replace(clean, '\r', ' ');

    if (const auto index = find(section, key)) {
        Line& line = lines_[*index];
        line.raw = line.key + "=" + clean;
        return;
    }
    // Place the key after the last key line of the first section of that name.
    std::size_t insertAt = lines_.size();
    std::string sectionName;
    bool found = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.isHeader) {
            if (found) break;
            if (sameName(line.section, section)) {
                found = true;
                sectionName = line.section;
                insertAt = i + 1;
            }
        } else if (found && line.isKey) {
            insertAt = i + 1;
        }
    }
    if (!found) {
        if (!lines_.empty() && !trim(lines_.back().raw).empty()) 
            lines_.push_back({.raw = "", .section = lines_.back().section});
        sectionName = std::string(section);
        lines_.push_back({.raw = "[" + sectionName + "]", .section = sectionName, .isHeader = true});
        insertAt = lines_.size();
    }
    Line line{.raw = std::string(key) + "=" + clean, .section = sectionName, .isKey = true,
              .key = std::string(key)};
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
}

void IniFile::writeInt(std::string_view section, std::string_view key, int value)
{
    writeString(section, key, std::to_string(value));
}

std::string IniFile::text() const
{
    std::string out = bom_ ? "\xEF\xBB\xBF" : "";
    const char* eol = crlf_ ? "\r\n" : "\n";
    for (const Line& line : lines_) out += line.raw + eol;
    return out;
}

bool IniFile::save() const
{
    const std::string content = text();
    std::filesystem::path tmp = path_;
    tmp += ".tmp" + std::to_string(::getpid());
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ec;
            std::filesystem::remove(tmp, ec);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(tmp, path_, ec);
    if (ec) {
        std::filesystem::remove(tmp, ec);
        return false;
    }
    return true;
}

}  // namespace vestrel
