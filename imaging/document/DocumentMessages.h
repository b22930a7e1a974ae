#pragma once
// Every text the image document shows the user.

namespace vestrel::document::msg {

inline constexpr const char* kAskSaveCurrent = "是否保存当前文件？";
// "文件" + path + "不存在，请注意查证！！！"
inline constexpr const char* kOpenMissingBefore = "文件";
inline constexpr const char* kOpenMissingAfter = "不存在，请注意查证！！！";
inline constexpr const char* kFormatFallsBackToBmp = "格式不支持！\n图像将以原名保存为bmp格式！！！";
inline constexpr const char* kDeleteMissing = "你要删除的文件不存在，请注意查证！";
// Shown when the disk refuses a save; the file that was there is left as it was.
inline constexpr const char* kSaveFailedBefore = "文件";
inline constexpr const char* kSaveFailedAfter = "保存失败，原文件未改动！";
// Shown when the desktop trash refuses the file; the file stays where it is.
inline constexpr const char* kDeleteFailedBefore = "文件";
inline constexpr const char* kDeleteFailedAfter = "无法移到回收站！";
// A dropped file that is no picture this program can show; the document keeps what it has.
inline constexpr const char* kDropRefusedBefore = "文件";
inline constexpr const char* kDropRefusedAfter = "无法打开，不是可以显示的图片！";
// The history could not keep the picture before a change (memory); the change is not made.
inline constexpr const char* kHistoryFull = "内存不足，无法记录这一步，操作已取消！";
// A signature or stamp that does not fit the picture it is placed on, or would not fit
// once turned.
inline constexpr const char* kMarkTooLarge = "签名文件比当前文件大，无法粘贴！！！";
inline constexpr const char* kMarkTurnTooLarge = "签名文件比当前文件大，无法旋转!!!";

}  // namespace vestrel::document::msg
