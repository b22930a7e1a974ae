#pragma once
// The name a recording gets when nobody chooses one: the moment it starts, as
// YY-MM-DD-HH-MM-SS.avi in the photo folder, with "-2", "-3" ... added when that name is
// taken, so an earlier recording is never overwritten.

#include <ctime>
#include <filesystem>

namespace vestrel::recording {

std::filesystem::path FreeRecordingPath(const std::filesystem::path& folder, const std::tm& when);

}  // namespace vestrel::recording
