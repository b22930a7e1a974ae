#pragma once
// The resolution dialog ("分辨率", 146): the new size of the picture from a scale factor,
// or typed in directly.

#include <optional>
#include <string>

namespace vestrel::operations {

struct ResolutionSettings {
    int originalWidth = 0, originalHeight = 0;  // edits 1000, 1001
    int newWidth = 0, newHeight = 0;            // edits 1002, 1003
    float factor = 0.5f;                        // edit 1008
};

// The dialog as it opens for a picture: the new size is the original one times 0.5,
// rounded.
ResolutionSettings InitialResolution(int width, int height);

// The new size after the factor text changed, or nothing while the text is still being
// typed: a text ending in "." or in a "0" after the decimal point ("1.", "0.50") waits for
// the next digit. Otherwise the size is |factor| times the original, truncated.
struct NewSize {
    int width = 0, height = 0;
};
std::optional<NewSize> SizeForFactorText(const std::string& text, int originalWidth, int originalHeight);

// A new size the picture can take: at least one pixel each way and within the image
// class's largest picture.
bool UsableNewSize(int width, int height);

}  // namespace vestrel::operations
