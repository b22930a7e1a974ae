#include "StorageFolder.h"

#include <filesystem>
#include <system_error>

namespace vestrel {

bool IsSystemRoot(const std::string& folder)
{
    if (folder.empty()) return false;
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(fs::path(folder), error);
    return (error ? fs::path(folder).lexically_normal() : resolved) == fs::path("/");
}

bool RefuseSystemRoot(const std::string& folder, Prompter& prompter)
{
    if (!IsSystemRoot(folder)) return false;
    prompter.message(kSystemRootRefused, kSystemRootCaption, MessageKind::Warning);
    return true;
}

}  // namespace vestrel
