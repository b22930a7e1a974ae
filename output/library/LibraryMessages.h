#pragma once
// Every text the photo library shows the user, and its menu texts.

namespace vestrel::library::msg {

inline constexpr const char* kOpenMissing = "您要打开的文件不存在,请注意查证!";
inline constexpr const char* kInstallPdfReader = "请安装PDF阅读软件！";
inline constexpr const char* kRenameMissing = "你要重命名的文件不存在，请注意查证!";
// "你要删除的文件" + name + "不存在，请注意查证!"
inline constexpr const char* kDeleteMissingBefore = "你要删除的文件";
inline constexpr const char* kDeleteMissingAfter = "不存在，请注意查证!";
inline constexpr const char* kChooseLibraryTitle = "选择图库文件夹";
inline constexpr const char* kThumbnailCountCaption = "缩略图个数";
inline constexpr const char* kThumbnailCountRange = "请输入一个在 1 和 65536 之间的整数。";

// A rename never replaces another file: "文件" + new name + "已存在，无法重命名！"
inline constexpr const char* kRenameTargetExistsBefore = "文件";
inline constexpr const char* kRenameTargetExistsAfter = "已存在，无法重命名！";
// A name that would leave the photo folder: "文件名" + name + "无效，不能包含“/”！"
inline constexpr const char* kRenameInvalidBefore = "文件名";
inline constexpr const char* kRenameInvalidAfter = "无效，不能包含“/”！";
// The file system refused: "文件" + old name + "无法重命名！"
inline constexpr const char* kRenameFailedBefore = "文件";
inline constexpr const char* kRenameFailedAfter = "无法重命名！";
// No file browser could be started: "无法打开文件夹" + folder
inline constexpr const char* kOpenFolderFailed = "无法打开文件夹";

}  // namespace vestrel::library::msg
