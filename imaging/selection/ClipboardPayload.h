#pragma once
// Our own clipboard format, "application/x-cximage": the serialised picture (CxImage::Dump)
// beside the plain image every other program reads. It is written only when the plain
// image would lose something (an alpha channel, a selection, a transparent colour). What
// comes back under that name may have been put there by any program, so it is read with
// the same checks as a file: a payload that is not exactly a sound picture is refused.

#include "CxImage.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace vestrel::selection {

inline constexpr const char* kOwnClipboardFormat = "application/x-cximage";

// The plain image would lose part of the picture.
bool NeedsOwnFormat(const CxImage& picture);

// The serialised picture; empty when it cannot be made.
std::vector<std::uint8_t> OwnFormatBytes(const CxImage& picture);

// The picture in `bytes`, or null for anything that is not one whole sound payload.
std::unique_ptr<CxImage> ReadOwnFormat(std::span<const std::uint8_t> bytes);

}  // namespace vestrel::selection
