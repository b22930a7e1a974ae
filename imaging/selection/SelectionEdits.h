#pragma once
// What a selection does to the pixels of a picture: the picture a copy or a crop takes out
// of it, and the hole a cut leaves. Cut-out areas get the background colour, which the
// picture then treats as transparent, so that a copy carries its outline with it and the
// plain bitmap beside it shows the background colour there.

#include "CxImage.h"

#include <optional>

namespace vestrel::selection {

// The colour of cut-out areas: red 255, green 255, blue 254, a white no scan ever holds by
// chance next to true white.
inline constexpr RGBQUAD kCutBackground{254, 255, 255, 0};

// The picture's transparent colour when it has one, else kCutBackground.
RGBQUAD BackgroundOf(const CxImage& image);

// Pixels outside the selection (all of them without one) take `background`, which becomes
// the transparent colour; pixels inside that would then count as transparent turn white,
// unless the picture was transparent before (`wasTransparent`: its own transparent pixels
// stay so). Palette pictures are raised to 24 bits first, so that no colour inside shares
// the background's palette entry.
bool MaskOutsideSelection(CxImage& image, RGBQUAD background, bool wasTransparent);

// The same the other way round: the selected pixels take `background` and become
// transparent, transparent pixels outside turn white unless `wasTransparent`.
bool FillSelection(CxImage& image, RGBQUAD background, bool wasTransparent);

// The picture a copy takes: the whole picture, or with a selection the crop of its
// bounding box; with `freeHand` everything outside the outline masked as above. Nothing
// when the crop fails (memory).
std::optional<CxImage> PictureOfSelection(const CxImage& image, bool freeHand);

}  // namespace vestrel::selection
