#pragma once
// Where the picture lands on the printed page. One page, the picture at its physical size
// (its pixels over its stored resolution): either scaled for the camera arm's position in
// 1:1 printing, or reduced by a whole divisor until it fits. Pure arithmetic in printer
// pixels, so the print, the preview and the tests all get the same rectangle.

namespace vestrel::print {

// Where the picture sits across the page. The numbers are the ones the program has always
// kept for it: 0 centre, 1 left, 2 right.
enum class HorizontalAlignment { Centre = 0, Left = 1, Right = 2 };
// And down the page: 0 middle, 1 top, 2 bottom.
enum class VerticalAlignment { Middle = 0, Top = 1, Bottom = 2 };

struct PrintAlignment {
    HorizontalAlignment horizontal = HorizontalAlignment::Centre;
    VerticalAlignment vertical = VerticalAlignment::Middle;
    bool operator==(const PrintAlignment&) const = default;
};

// The camera arm's position when the picture was taken: 0 none, 1 top, 2 middle, 3 bottom.
inline constexpr int kArmNone = 0;
inline constexpr int kArmTop = 1;
inline constexpr int kArmMiddle = 2;
inline constexpr int kArmBottom = 3;

// 1:1 printing: on, at the arm position whose factor shrinks the picture to the size the
// sheet had under the camera.
struct PrintScale {
    bool oneToOne = false;
    int armPosition = kArmNone;
};

// The 1:1 factor of an arm position in hundredths: top 56, middle 59, bottom 37, any other
// position 100. Kept as whole hundredths so that 100 pixels at 0.59 are 59, not 58.99...
int OneToOneFactorPercent(int armPosition);

// The printable area of the page in printer pixels and the printer's pixels per inch.
struct PrintPage {
    int width = 0, height = 0;
    int dpiX = 0, dpiY = 0;
};

// The picture's pixel size and stored resolution in dots per inch; 0 (unknown) counts as 96.
struct PictureSize {
    int width = 0, height = 0;
    int dpiX = 0, dpiY = 0;
};

inline constexpr int kUnknownResolutionDpi = 96;

struct PrintRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const PrintRect&) const = default;
};

// The rectangle on the page, in printer pixels from the printable area's top left corner.
// Without 1:1 printing the divisor is the larger whole quotient of the physical size over
// the page (0 becomes 1), so a picture up to twice the page keeps its size and is cut off.
// A picture as wide as the page or wider sits at x 0 whatever the alignment, and likewise
// at y 0 when as high or higher. Empty for an empty picture or page.
PrintRect PictureRectOnPage(const PrintPage& page, const PictureSize& picture, const PrintScale& scale,
                            const PrintAlignment& alignment);

}  // namespace vestrel::print
