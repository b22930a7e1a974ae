#pragma once
// The rules of the "文件解密" dialog: which signatures it offers, which one is chosen, and
// what "插入" and "删除" do with the typed password. Inserting unlocks the chosen file in
// memory only; deleting checks the password by the file's tag alone. Neither ever makes
// a signature readable on disk.

#include "CxImage.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vestrel::signature {

enum class ChooserStep {
    Stay,      // the dialog stays open
    Accept,    // closes with OK: the mark is ready
    Cancel,    // closes as cancelled
};

struct UnlockVerdict {
    ChooserStep step = ChooserStep::Stay;
    const char* message = nullptr;   // what to tell the user
    std::unique_ptr<CxImage> mark;   // the unlocked signature, white transparent (Accept)
};

// Moves a file to the desktop's trash; false when it could not.
using MoveToTrashFn = std::function<bool(const std::filesystem::path&)>;

class SignatureChooser {
public:
    // Lists the signatures of `folder` and chooses the first.
    explicit SignatureChooser(std::filesystem::path folder);

    const std::vector<std::string>& Names() const { return names_; }
    // The index of the chosen name, -1 when there is none.
    int Selected() const { return selected_; }
    // Follows the combo box; an index outside the list chooses nothing.
    void Select(int index);
    // The chosen signature file; empty when none is chosen.
    std::filesystem::path ChosenPath() const;

    // "插入": the chosen signature unlocked with `password` (empty counts as one space).
    UnlockVerdict Insert(const std::string& password) const;
    // "删除": the chosen signature to the trash when `password` matches its tag; the list is
    // made again afterwards. Returns the message to show.
    const char* Delete(const std::string& password, const MoveToTrashFn& moveToTrash);

private:
    void Refill();

    std::filesystem::path folder_;
    std::vector<std::string> names_;
    int selected_ = -1;
};

}  // namespace vestrel::signature
