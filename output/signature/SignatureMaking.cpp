#include "SignatureMaking.h"

#include "SignatureFile.h"
#include "SignatureMessages.h"
#include "SignatureNames.h"

#include <system_error>

namespace vestrel::signature {

MakeVerdict ConfirmSignature(const std::filesystem::path& folder, const SignatureRequest& request,
                             const WriteBmp& writeBmp)
{
    const std::string name = StoredSignatureName(request.typedName);
    switch (CheckSignatureName(name)) {
    case NameCheck::Empty:
        return {MakeOutcome::Stay, msg::kEnterFileName, false, {}};
    case NameCheck::SpecialCharacters:
        return {MakeOutcome::Stay, msg::kSpecialCharacters, true, {}};
    case NameCheck::TooLong:
        return {MakeOutcome::Stay, msg::kNameTooLong, true, {}};
    case NameCheck::Ok:
        break;
    }
    if (request.password != request.passwordAgain) return {MakeOutcome::Stay, msg::kPasswordWrong, false, {}};
    // An empty password is one space, both here and when the file is opened again.
    const std::string password = request.password.empty() ? std::string(" ") : request.password;

    const std::filesystem::path target = folder / name;
    // A name with a dot is never offered as a signature, so the working file is never listed.
    const std::filesystem::path working = folder / ".new-signature";
    std::error_code error;
    const bool written = writeBmp(working) && EncryptSignature(working, password);
    if (written) std::filesystem::rename(working, target, error);
    if (!written || error) {
        std::filesystem::remove(working, error);
        return {MakeOutcome::Failed, msg::kEncryptFailed, false, {}};
    }
    return {MakeOutcome::Made, msg::kEncryptSucceeded, false, target};
}

}  // namespace vestrel::signature
