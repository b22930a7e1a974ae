#pragma once
// Signature files: a BMP whose bytes are scrambled with a key byte made from a password,
// followed by a five-byte tag ("zarn" and a NUL, scrambled with the same key) by which a
// password is checked without touching the body.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vestrel::signature {

inline constexpr std::size_t kTagSize = 5;

// The key byte of `password`; an empty password counts as one space.
std::uint8_t SignatureKey(const std::string& password);

// Scrambles the plain file at `path` and appends the tag. The scrambled bytes go to a
// temporary file that then replaces the plain one, so a failure (false) leaves the file as
// it was, never half scrambled.
bool EncryptSignature(const std::filesystem::path& path, const std::string& password);

// Turns the file at `path` back into the plain BMP: false, with the file untouched, when it
// cannot be opened, is too short to hold a tag or the password does not match. Inserting a
// signature does not use this (see UnlockSignature): it never makes the file readable.
bool DecryptSignature(const std::filesystem::path& path, const std::string& password);

// The plain BMP bytes of a scrambled signature, or nothing when the tag does not match.
std::optional<std::vector<std::uint8_t>> UnlockSignatureBytes(std::span<const std::uint8_t> file,
                                                              const std::string& password);

// Reads and unlocks the file at `path` in memory; the file on disk stays scrambled.
std::optional<std::vector<std::uint8_t>> UnlockSignature(const std::filesystem::path& path,
                                                         const std::string& password);

// True when the tag at the end of the file matches `password`; reads only the tag.
bool SignaturePasswordMatches(const std::filesystem::path& path, const std::string& password);

}  // namespace vestrel::signature
