#pragma once
// The one rule every folder chooser of the program applies before it takes a folder for
// stored files (the photo folder, the PDF save folder): the file system's root is refused,
// with one message, wherever it is chosen.

#include "Prompter.h"

#include <string>

namespace vestrel {

inline constexpr const char* kSystemRootRefused =
    "文件不能存放在系统盘一级目录下，请选择其他位置进行文件存储！";
inline constexpr const char* kSystemRootCaption = "提示";

// The folder is the root itself: "/", or a path that leads there ("/tmp/..", a link to /).
// Every folder below the root is fine.
bool IsSystemRoot(const std::string& folder);

// Shows the refusal when `folder` is the root; true when it was refused.
bool RefuseSystemRoot(const std::string& folder, Prompter& prompter);

}  // namespace vestrel
