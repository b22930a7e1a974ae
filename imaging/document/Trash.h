#pragma once
// Moving a file to the desktop's trash (the freedesktop.org trash of the user's data folder).

#include <filesystem>

namespace vestrel::document {

// Moves `file` to the trash; false when it could not be moved (the file is then untouched).
// The trash folders are made first when the user has none yet, so that the file never
// ends up in a "files" folder beside the current directory.
bool MoveToTrash(const std::filesystem::path& file);

// The trash folder of the user's data folder ($XDG_DATA_HOME or ~/.local/share, + Trash).
std::filesystem::path UserTrashDir();

}  // namespace vestrel::document
