#include "SignatureChooser.h"

#include "MarkImage.h"
#include "SignatureFile.h"
#include "SignatureMessages.h"
#include "SignatureNames.h"

#include <system_error>

namespace vestrel::signature {

SignatureChooser::SignatureChooser(std::filesystem::path folder) : folder_(std::move(folder))
{
    Refill();
}

void SignatureChooser::Refill()
{
    names_ = ListSignatureNames(folder_);
    selected_ = names_.empty() ? -1 : 0;
}

void SignatureChooser::Select(int index)
{
    selected_ = index >= 0 && index < int(names_.size()) ? index : -1;
}

std::filesystem::path SignatureChooser::ChosenPath() const
{
    if (selected_ < 0) return {};
    return folder_ / names_[std::size_t(selected_)];
}

UnlockVerdict SignatureChooser::Insert(const std::string& password) const
{
    const std::filesystem::path path = ChosenPath();
    if (path.empty()) return {ChooserStep::Stay, msg::kChooseFileToUnlock, nullptr};
    auto mark = std::make_unique<CxImage>();
    if (!LoadSignatureMark(path, password, *mark)) return {ChooserStep::Cancel, msg::kUnlockFailed, nullptr};
    return {ChooserStep::Accept, msg::kUnlocked, std::move(mark)};
}

const char* SignatureChooser::Delete(const std::string& password, const MoveToTrashFn& moveToTrash)
{
    const std::filesystem::path path = ChosenPath();
    if (path.empty()) return msg::kChooseFileToDelete;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return msg::kDeleteMissing;
    // The tag alone tells whether the password is right: the body stays scrambled.
    if (!SignaturePasswordMatches(path, password)) return msg::kPasswordWrong;
    if (!moveToTrash(path) || std::filesystem::exists(path, error)) return msg::kDeleteFailed;
    Refill();
    return msg::kDeleted;
}

}  // namespace vestrel::signature
