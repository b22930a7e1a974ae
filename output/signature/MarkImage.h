#pragma once
// The pictures the signature and stamp commands hand to the document as a mark: white is
// their transparent colour. Signatures are unlocked in memory only; stamps are read by
// their content, whatever their name says.

#include "CxImage.h"

#include <filesystem>
#include <string>

namespace vestrel::signature {

// The signature at `path` unlocked with `password`, white transparent; false (and `out`
// untouched) for a wrong password, an unreadable file or a body that is no BMP. The file
// on disk is only read.
bool LoadSignatureMark(const std::filesystem::path& path, const std::string& password, CxImage& out);

// The stamp picture at `path`, white transparent; false when it does not decode.
bool LoadStampMark(const std::filesystem::path& path, CxImage& out);

// The stamp's thumbnail: a white 180 × 50 cell with the picture placed by
// StampThumbnailRect. An empty cell when the file does not decode.
CxImage MakeStampThumbnail(const std::filesystem::path& path);

}  // namespace vestrel::signature
