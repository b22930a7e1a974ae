#pragma once
// Every text the image operations and their dialogs show the user.

namespace vestrel::operations::msg {

// The rotate dialog's angle box takes digits only.
inline constexpr const char* kAngleDigitsOnly = "请输入一个整数!!!";
// The worker for an operation could not be given its copy of the picture.
inline constexpr const char* kNoMemoryForOperation = "内存不足，无法完成此操作！";
// The resolution dialog's new size is empty or larger than any picture can be.
inline constexpr const char* kBadNewSize = "图像尺寸无效，请重新输入！";

}  // namespace vestrel::operations::msg
