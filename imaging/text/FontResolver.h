#pragma once
// Finds the font file for a family name as users of the program know it ("宋体",
// "Times New Roman") through fontconfig. Names that fontconfig may not know on a Linux
// desktop are looked up together with installed families of the same style and metrics,
// so "宋体" always lands on a Song-style CJK font and "Times New Roman" on a
// metric-compatible serif, whatever aliases the system's fontconfig carries.

#include <optional>
#include <string>
#include <vector>

namespace vestrel::text {

struct FontFile {
    std::string path;            // font file
    int index = 0;               // face inside a collection (.ttc)
    std::string family;          // family actually found
    bool syntheticBold = false;  // bold was asked for and the face is not bold
    bool syntheticItalic = false;
};

// Installed families to try after `family`, best first (empty for names we do not know).
std::vector<std::string> SubstituteFamilies(const std::string& family);

// The best face for the family, weight (400 normal, 700 bold) and slant. Nothing when
// fontconfig finds no font at all.
std::optional<FontFile> ResolveFont(const std::string& family, int weight, bool italic);

// A face that has a glyph for `codepoint`, preferring the family's substitutes.
std::optional<FontFile> ResolveFontFor(char32_t codepoint, const std::string& family, int weight, bool italic);

}  // namespace vestrel::text
