#pragma once
// Writing a scan's file so that it either appears whole under its name or not at all, and
// never replaces a file that is already there: the content goes to a hidden scratch file in
// the same folder, which is then renamed to the target only if the target does not exist.

#include <filesystem>
#include <functional>
#include <string>

namespace vestrel::scan {

enum class NewFileResult { Stored, TargetExists, Failed };

// `write(scratchPath)` writes the whole content and returns false on any failure. On
// failure and when the target exists, the scratch file is removed; `error` (if given) says
// what went wrong.
NewFileResult StoreNewFile(const std::filesystem::path& target,
                           const std::function<bool(const std::filesystem::path&)>& write,
                           std::string* error = nullptr);

// The same through a scratch file, but renamed over `target` when it exists: for a file
// the program rewrites as its own (the ID-card page of the card being copied). `target`
// is either the new content or untouched.
bool StoreReplacingFile(const std::filesystem::path& target,
                        const std::function<bool(const std::filesystem::path&)>& write,
                        std::string* error = nullptr);

}  // namespace vestrel::scan
