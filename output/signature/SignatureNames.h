#pragma once
// The rules for the name a signature file is stored under, and which files of the
// signature and stamp folders are offered.

#include <filesystem>
#include <string>
#include <vector>

namespace vestrel::signature {

enum class NameCheck {
    Ok,
    Empty,              // nothing typed, or nothing before the first dot
    SpecialCharacters,  // one of / * ? < > " | and the backslash
    TooLong,            // 255 characters or more, or over 255 bytes in UTF-8
};

// The typed name cut before its first dot: signature files have no extension.
std::string StoredSignatureName(const std::string& typed);

// Checks the stored name (StoredSignatureName of what was typed).
NameCheck CheckSignatureName(const std::string& stored);

// The names of the files of `folder` without a dot, folders skipped. Sorted by name: the
// order a directory hands them out in means nothing to the user.
std::vector<std::string> ListSignatureNames(const std::filesystem::path& folder);

// The names of every file of `folder` (a stamp is any picture, whatever its name), folders
// skipped, sorted by name.
std::vector<std::string> ListStampNames(const std::filesystem::path& folder);

}  // namespace vestrel::signature
