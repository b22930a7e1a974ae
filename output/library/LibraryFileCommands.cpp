#include "LibraryFileCommands.h"

#include "CQuorvanDoc.h"
#include "DocumentMessages.h"
#include "LibraryMessages.h"
#include "PdfMessages.h"
#include "StorageFolder.h"
#include "Trash.h"

#include <QFile>
#include <QString>

#include <filesystem>
#include <system_error>

namespace vestrel::library {
namespace fs = std::filesystem;

namespace {

void Call(const std::function<void()>& hook)
{
    if (hook) hook();
}

bool FileExists(const std::string& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// Anything that exists under that name, a folder or a dangling link included.
bool NameTaken(const std::string& path)
{
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

bool IsPlainName(const std::string& name)
{
    return name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

QString Q(const std::string& path)
{
    return QString::fromStdString(path);
}

}  // namespace

bool RenameLibraryFile(document::CQuorvanDoc& doc, Prompter& prompter, const LibraryHooks& hooks,
                       const std::string& oldName, const std::string& newName)
{
    if (newName.empty() || newName == oldName) return false;
    bool renamed = false;
    const std::string from = doc.PhotoDir() + oldName;
    const std::string to = doc.PhotoDir() + newName;
    if (!IsPlainName(newName)) {
        prompter.message(msg::kRenameInvalidBefore + newName + msg::kRenameInvalidAfter, {},
                         MessageKind::Warning);
    } else if (!FileExists(from)) {
        prompter.message(msg::kRenameMissing);
        doc.RefreshLibrary();
    } else if (NameTaken(to)) {
        prompter.message(msg::kRenameTargetExistsBefore + newName + msg::kRenameTargetExistsAfter, {},
                         MessageKind::Warning);
    } else if (!QFile::rename(Q(from), Q(to))) {
        // QFile refuses to replace an existing file even when one appears in between.
        prompter.message(msg::kRenameFailedBefore + oldName + msg::kRenameFailedAfter, {},
                         MessageKind::Error);
    } else {
        renamed = true;
        if (!FileExists(from)) doc.RefreshLibrary();
    }
    Call(hooks.activateImageView);
    return renamed;
}

bool DeleteLibraryFiles(document::CQuorvanDoc& doc, Prompter& prompter, const LibraryHooks& hooks,
                        const std::vector<std::string>& names)
{
    if (names.empty()) return false;
    for (const std::string& name : names) {
        if (!FileExists(doc.PhotoDir() + name)) {
            prompter.message(msg::kDeleteMissingBefore + name + msg::kDeleteMissingAfter);
            doc.RefreshLibrary();
            return false;
        }
    }
    bool all = true;
    for (const std::string& name : names) {
        const std::string path = doc.PhotoDir() + name;
        if (!document::MoveToTrash(path)) {
            // The rest stay where they are; what went to the trash can be restored from it.
            prompter.message(std::string(document::msg::kDeleteFailedBefore) + path +
                                 document::msg::kDeleteFailedAfter,
                             {}, MessageKind::Error);
            all = false;
            break;
        }
    }
    doc.RefreshLibrary();
    if (!(hooks.liveShown && hooks.liveShown())) Call(hooks.repaintImageView);
    Call(hooks.activateImageView);
    return all;
}

bool OpenLibraryFolder(document::CQuorvanDoc& doc, Prompter& prompter, const LibraryHooks& hooks)
{
    const bool opened = hooks.openWithDesktop && hooks.openWithDesktop(doc.PhotoDir());
    if (!opened) prompter.message(msg::kOpenFolderFailed + doc.PhotoDir(), {}, MessageKind::Warning);
    Call(hooks.activateImageView);
    return opened;
}

bool ChooseLibraryFolder(document::CQuorvanDoc& doc, Prompter& prompter, const LibraryHooks& hooks)
{
    const auto chosen = prompter.chooseFolder(msg::kChooseLibraryTitle, doc.PhotoDir());
    if (!chosen || chosen->empty()) return false;
    if (RefuseSystemRoot(*chosen, prompter)) return false;
    std::string folder = *chosen;
    if (folder.back() != '/') folder += '/';
    doc.SetPhotoDir(folder);
    if (hooks.photoFolderChanged) hooks.photoFolderChanged(folder);
    doc.RefreshLibrary();
    return true;
}

}  // namespace vestrel::library
