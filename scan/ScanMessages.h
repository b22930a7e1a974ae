#pragma once
// Every text the scanning subsystem shows the user, in the program's own wording.

namespace vestrel::scan::messages {

// The file-name dialog (211).
inline constexpr const char* kFileNameCaption = "文件名";
inline constexpr const char* kFileNameEmpty = "请输入保存的文件名！！！";
inline constexpr const char* kFileNameSpecialCharacters = "文件名不能包含特殊字符！！！";
inline constexpr const char* kFileNameTooLong = "文件名长度不能不能超过255个字符，请重新输入！！！";

// A scan whose file could not be written. The old program ended such a scan without a
// word, so the user believed the page was stored; we say so instead.
inline constexpr const char* kScanNotStored = "扫描图片保存失败：";
// A scan requested while no frame has arrived from the camera yet.
inline constexpr const char* kNoFrame = "没有可用的视频图像，无法扫描！";

// The scan-settings dialog's ranged edits: a number outside the range keeps the dialog
// open. printf pattern with the lowest and the highest value.
inline constexpr const char* kNumberOutOfRange = "请输入一个介于 %d 和 %d 之间的整数。";
// Added for the interval: why it stops at 9999.
inline constexpr const char* kIntervalLimitReason = "（配置文件只保存四位数字，间隔最长 9999 毫秒。）";

// The two-sided ID-card copy: a scan area that does not fit twice on the page.
inline constexpr const char* kCardTooLarge = "图像太大,无法双面复印";

}  // namespace vestrel::scan::messages
