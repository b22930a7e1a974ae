#pragma once
// A settings file in the old private-profile format: "[section]" lines, "key=value" lines,
// everything else kept as it stands. Section and key names compare without case; a value
// read with a character limit is cut to that many characters; numbers are read the way
// atoi reads them. Writing replaces one value and keeps every other line, comment and the
// order of keys, so a user's hand edits survive the program.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vestrel {

class IniFile {
public:
    // An empty document; save() creates the file.
    explicit IniFile(std::filesystem::path path);

    // Reads the file. A missing or unreadable file is an empty document (every read gives
    // its default); returns false only when the file exists but could not be read.
    bool load();
    // Parses text as the file's content (used by load() and the fuzzer).
    void parse(std::string_view text);

    // The value of section/key cut to `limit` characters (UTF-8 characters, never a broken
    // sequence), or `fallback` when the key is absent. Surrounding blanks and one pair of
    // enclosing double quotes are dropped, as the old reader did.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view fallback, std::size_t limit) const;
    // The value read with `limit` characters and converted with atoi rules (leading blanks,
    // an optional sign, the leading digits; anything else gives 0), or `fallback`.
    int readInt(std::string_view section, std::string_view key, int fallback,
                std::size_t limit) const;
    bool contains(std::string_view section, std::string_view key) const;

    // Sets one value in memory: the existing line is rewritten in place; a new key goes
    // after the last key of its section; a new section goes at the end.
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInt(std::string_view section, std::string_view key, int value);

    // Writes the document through a temporary file renamed over the target, so a failed
    // write never leaves a half-written settings file. Keeps the file's line ends.
    bool save() const;
    std::string text() const;

    const std::filesystem::path& path() const { return path_; }

private:
    struct Line {
        std::string raw{};    // the line as read, without its line end
        std::string section{};  // the section it belongs to ("" before the first header)
        bool isHeader = false;
        bool isKey = false;
        std::string key{};    // trimmed key of a key line
    };
    std::optional<std::size_t> find(std::string_view section, std::string_view key) const;

    std::filesystem::path path_;
    std::vector<Line> lines_;
    bool crlf_ = false;
    bool bom_ = false;
};

// atoi on a string_view: leading blanks, optional sign, digits; saturates instead of
// overflowing.
int AtoiRules(std::string_view text);

}  // namespace vestrel
