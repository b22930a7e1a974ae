#pragma once
// Confirming the make-signature dialog: the name and password rules in the order the user
// meets them, then the picture written and scrambled under the chosen name. The plain
// picture is never left readable in the signature folder: the passwords are compared
// before anything is written, and the picture is scrambled under a hidden working name
// that replaces the signature only once it is scrambled.

#include <filesystem>
#include <functional>
#include <string>

namespace vestrel::signature {

struct SignatureRequest {
    std::string typedName;
    std::string password;
    std::string passwordAgain;
};

enum class MakeOutcome {
    Stay,       // a rule refused: the dialog stays open
    Made,       // the signature file is written and scrambled
    Failed,     // writing or scrambling failed; nothing readable is left behind
};

struct MakeVerdict {
    MakeOutcome outcome = MakeOutcome::Stay;
    const char* message = nullptr;  // what to tell the user
    bool clearName = false;         // the name field is emptied
    std::filesystem::path path;     // the signature file (Made)
};

// Writes the current picture as a BMP file at the given path; false on failure.
using WriteBmp = std::function<bool(const std::filesystem::path&)>;

MakeVerdict ConfirmSignature(const std::filesystem::path& folder, const SignatureRequest& request,
                             const WriteBmp& writeBmp);

}  // namespace vestrel::signature
