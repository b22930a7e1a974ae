#pragma once
// What the signature and stamp commands tell the user, worded as the program always has.

namespace vestrel::signature::msg {

inline constexpr const char* kEnterFileName = "请输入保存的文件名！！！";
inline constexpr const char* kSpecialCharacters = "文件名不能包含特殊字符！！！";
inline constexpr const char* kNameTooLong = "文件名长度不能超过255个字符，请重新输入！！！";
inline constexpr const char* kPasswordWrong = "密码错误!";
inline constexpr const char* kEncryptSucceeded = "加密成功!";
inline constexpr const char* kEncryptFailed = "加密失败!";

// Making a signature from the current picture.
inline constexpr const char* kMakeNeedsStillView = "请先扫描并切换到静态图像视图窗口！";
inline constexpr const char* kMakeNeedsPicture = "请先将裁剪好的签名图片在客户区打开！";
inline constexpr const char* kWholePictureQuestion = "确定以当前整张图片制作签名吗？否则请裁剪后再制作签名。";
inline constexpr const char* kDeletePictureQuestion = "签名制作完成，是否删除当前签名图片！！！";
inline constexpr const char* kSignatureAtRisk = "文件加密失败，签名文件存在安全风险！！！";
// Our own: shown while the program offers no crop command to run instead.
inline constexpr const char* kCropUnavailable = "裁剪功能暂不可用，请先将裁剪好的签名图片在客户区打开！";

// Inserting a signature.
inline constexpr const char* kInsertNeedsStillView = "请切换到静态视图窗口再插入签名！";
inline constexpr const char* kNoSignatures = "不存在签名文件，请先制作再插入！！！";
inline constexpr const char* kChooseFileToUnlock = "选择要解密的文件!";
inline constexpr const char* kUnlocked = "解密成功!移动签名到确定位置后，按下鼠标左键完成插入操作！！！";
inline constexpr const char* kUnlockFailed = "解密失败!";
inline constexpr const char* kChooseFileToDelete = "选择要删除的文件!";
inline constexpr const char* kDeleteMissing = "您要删除的文件不存在!";
inline constexpr const char* kDeleted = "删除成功!";
// Our own: the trash refused the file, which is still there.
inline constexpr const char* kDeleteFailed = "删除失败!";

// Stamps.
inline constexpr const char* kStampNeedsStillView = "请切换到静态视图窗口再插入图章！";
inline constexpr const char* kNoStamps = "不存在图章文件！！！";
inline constexpr const char* kNoStampChosen = "没有选中要插入的图章!\n";
// Our own: the chosen file holds no picture the program can read.
inline constexpr const char* kStampUnreadable = "无法读取图章文件！！！";

}  // namespace vestrel::signature::msg
