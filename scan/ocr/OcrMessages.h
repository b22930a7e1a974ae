#pragma once
// Every text the text recognition shows the user. Where the program used to name the
// office components it relied on, the texts name what we use instead: Tesseract with its
// language data, the Doc.fodt template, the desktop's word processor and text editor.

namespace vestrel::ocr::messages {

inline constexpr const char* kPromptCaption = "提示";
inline constexpr const char* kSwitchToStill = "请转换到静态模式下！";
// Followed by the missing language data, e.g. "chi_sim (tesseract-ocr-chi-sim)".
inline constexpr const char* kMissingComponent = "缺少组件，请安装文字识别组件：Tesseract 语言包 ";
inline constexpr const char* kNoImage = "没有找到要识别的文件!";
inline constexpr const char* kInvalidSelection = "选择无效！";
inline constexpr const char* kFileAccessFailed = "文件存取出错，不能完成识别!";
inline constexpr const char* kRecognitionFileMissing = "没有找到要识别的文件，不能完成识别!";
inline constexpr const char* kRecognitionFailed = "文字识别失败，请确认图片的有效性！";
inline constexpr const char* kTemplateMissing = "模板文件Doc.fodt不存在!";
inline constexpr const char* kNoWordProcessor = "没有找到能打开识别文档的文字处理程序!";
inline constexpr const char* kNoTextEditor = "没有找到文本编辑器程序，请安装文本编辑器!";

// The progress window while a picture is being read.
inline constexpr const char* kProgressTitle = "文字识别";
inline constexpr const char* kProgressText = "正在识别文字……";
inline constexpr const char* kCancel = "取消";

}  // namespace vestrel::ocr::messages
