#pragma once
// The ordered list of images of the composition dialog and its ordering rules.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace vestrel::output {

// Where a new path goes: before the first entry that is not smaller than it (byte-wise)
// and at least as long, else at the end. Names of one form stay in numeric order:
// Image10.jpg lands after Image2.jpg and Image3.jpg.
std::size_t insertionIndex(const std::vector<std::string>& list, const std::string& path);
void insertSource(std::vector<std::string>& list, const std::string& path);

// The images of a folder the add-folder command takes: files whose text after the last
// dot is exactly jpg, bmp, png, gif, tiff or ccitt (case counts). Sorted for a stable
// order before insertion.
std::vector<std::string> folderImages(const std::filesystem::path& folder);

}  // namespace vestrel::output
