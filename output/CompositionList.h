#pragma once
// The editing rules of the composition dialog's list and its save folder, apart from the
// widgets: the dialog calls these and shows what they return.

#include "Prompter.h"

#include <filesystem>
#include <string>
#include <vector>

namespace vestrel::output {

// The selection tables of move-down and remove hold 200 indices, as they always have;
// entries selected beyond the first 200 are left where they are.
inline constexpr std::size_t kSelectionTableSize = 200;

// Moves the selected entries (indices, any order) one place up; returns the new
// selection. When the first selected entry is already at the top, shows the message and
// changes nothing.
std::vector<std::size_t> moveUp(std::vector<std::string>& list, std::vector<std::size_t> selected,
                                Prompter& prompter);
// One place down, for the first 200 selected entries; at the bottom the message instead.
std::vector<std::size_t> moveDown(std::vector<std::string>& list,
                                  std::vector<std::size_t> selected, Prompter& prompter);
// Removes the first 200 selected entries from the list (the files stay).
void removeSelected(std::vector<std::string>& list, std::vector<std::size_t> selected);

// The save folder: PDF/ of the program folder, unless config.ini [Pdf] SavePath holds one.
std::string loadPdfSaveFolder();
// Stores the folder as the dialog closes; an empty one stores the default.
bool storePdfSaveFolder(const std::string& folder);
// A folder picked by the user: the system root "/" is refused with the message and the
// old folder kept. Returns the folder in effect.
std::string chooseSaveFolder(const std::string& current, const std::string& chosen,
                             Prompter& prompter);

}  // namespace vestrel::output
