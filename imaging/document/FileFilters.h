#pragma once
// The file-type filter lists of the Open and Save As dialogs, in the "Text|*.a|...||" form.

#include <string>

namespace vestrel::document {

// Every format, JPG first, with the "(*.*)" entry before the end.
std::string OpenFilter();

// The list the Save As dialog shows for a current file of type `type`: the file's own
// format first for 1, 2 and 4..15, JPG first otherwise; no "(*.*)" entry.
std::string SaveAsFilter(int type);

// The default extension of the Save As dialog: "bmp" for BMP files, none otherwise.
std::string SaveAsDefaultExtension(int type);

}  // namespace vestrel::document
