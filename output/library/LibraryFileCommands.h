#pragma once
// The library's commands on the files of the photo folder: rename, delete to the trash,
// open the folder and choose another one. Each re-checks the disk first, since the pane
// shows the folder as it was at the last refresh.

#include "LibraryHooks.h"
#include "Prompter.h"

#include <string>
#include <vector>

namespace vestrel::document {
class CQuorvanDoc;
}

namespace vestrel::library {

// Renames `oldName` to `newName` inside the photo folder. An empty or unchanged name does
// nothing; a name with '/' (or "." / "..") is refused, and so is a name another file
// already has: a rename never replaces a file. A vanished file is reported and the
// library refreshed. Returns true when the file was renamed.
bool RenameLibraryFile(document::CQuorvanDoc& doc, Prompter& prompter, const LibraryHooks& hooks,
                       const std::string& oldName, const std::string& newName);

// Moves the named files of the photo folder to the trash. When one of them has vanished
// its message is shown, the library refreshed and nothing at all deleted. Returns true
// when every file went to the trash.
bool DeleteLibraryFiles(document::CQuorvanDoc& doc, Prompter& prompter, const LibraryHooks& hooks,
                        const std::vector<std::string>& names);

// Opens the photo folder in the desktop's file browser.
bool OpenLibraryFolder(document::CQuorvanDoc& doc, Prompter& prompter, const LibraryHooks& hooks);

// Asks for another photo folder. The file-system root is refused with the message the
// PDF save folder uses; any other folder becomes the photo folder (with '/' appended),
// is handed to photoFolderChanged and listed. Returns true when the folder changed.
bool ChooseLibraryFolder(document::CQuorvanDoc& doc, Prompter& prompter, const LibraryHooks& hooks);

}  // namespace vestrel::library
