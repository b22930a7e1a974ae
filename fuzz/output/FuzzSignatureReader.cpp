// A signature file is read back from the signature folder, where anything may lie: cut
// files, files of another password, files that were never signatures.
#include "SignatureFile.h"

#include <algorithm>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses the password length, the next bytes are the password.
    const std::size_t passwordLength = std::min<std::size_t>(data[0] % 8, size - 1);
    const std::string password(reinterpret_cast<const char*>(data + 1), passwordLength);
    const std::span<const std::uint8_t> file(data + 1 + passwordLength, size - 1 - passwordLength);

    const auto plain = vestrel::signature::UnlockSignatureBytes(file, password);
    if (plain && plain->size() + vestrel::signature::kTagSize != file.size())
        __builtin_trap();
    return 0;
}
