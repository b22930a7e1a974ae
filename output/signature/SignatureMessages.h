#pragma once
// What the signature and stamp commands tell the user, worded as the program always has.

namespace vestrel::signature::msg {

inline constexpr const char* kEnterFileName = "请输入保存的文件名！！！";
inline constexpr const char* kSpecialCharacters = "文件名不能包含特殊字符！！！";
inline constexpr const char* kNameTooLong = "文件名长度不能超过255个字符，请重新输入！！！";
inline constexpr const char* kPasswordWrong = "密码错误!";
inline constexpr const char* kEncryptSucceeded = "加密成功!";
inline constexpr const char* kEncryptFailed = "加密失败!";

}  // namespace vestrel::signature::msg
