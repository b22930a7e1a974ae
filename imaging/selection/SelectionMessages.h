#pragma once
// Every text the selection and the clipboard show the user.

namespace vestrel::selection::msg {

// The desktop clipboard did not take the picture.
inline constexpr const char* kClipboardRefused = "不能设置剪贴板数据！！！";

}  // namespace vestrel::selection::msg
