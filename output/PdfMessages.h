#pragma once
// Every text the PDF subsystem shows the user.

namespace vestrel::output {

// Creator and Author of the PDFs written by scanning (the short name of the product).
inline constexpr const char* kProductShortName = "维斯泰尔";
inline constexpr const char* kPdfTitle = "pdf";

inline constexpr const char* kPromptCaption = "提示";
inline constexpr const char* kWarningCaption = "警告";

inline constexpr const char* kCreatePdfFailed = "未找到PDF组件,创建PDF文档失败";
inline constexpr const char* kNoFilesToConvert = "请添加需要进行转换的文件！";
inline constexpr const char* kEmptyTargetName = "目标文件名不能为空！";
inline constexpr const char* kUseDefaultNames = "是否使用默认文件名？";
inline constexpr const char* kEmptyNameUsesDefaults = "输入为空，将使用默认文件名！";
inline constexpr const char* kAlreadyAtTop = "已经在顶部，无法继续向上移动！";
inline constexpr const char* kAlreadyAtBottom = "已经在底部，无法继续向下移动！";
inline constexpr const char* kStopEBookQuestion = "此操作将停止合成pdf，是否继续？";
inline constexpr const char* kEBookToolBarTitle = "正在制作pdf电子书...";

// Followed by one line per image that could not be read.
inline constexpr const char* kImagesSkipped = "以下图像无法读取，已跳过：";
// Followed by the path of the e-book that could not be created.
inline constexpr const char* kEBookCreateFailed = "无法创建pdf电子书：";

// The composition dialog's file dialog: the image types it offers, then every file.
inline constexpr const char* kAddFilesFilter =
    "jpg 文件(*.jpg)|*.jpg|bmp 文件(*.bmp)|*.bmp|png 文件(*.png)|*.png|gif 文件(*.gif)|*.gif|"
    "tiff 文件(*.tiff)|*.tiff|ccitt 文件(*.ccitt)|*.ccitt|All files(*.*)|*||";
inline constexpr const char* kSaveFolderLabel = "保存路径：";
inline constexpr const char* kCancelConversion = "取消";

// The composition dialog's status line: while a job runs, and how it ended.
inline constexpr const char* kConverting = "正在转换...";
inline constexpr const char* kCancelling = "正在取消...";
inline constexpr const char* kMergeDone = "合并转换完成：";          // + path + page count
inline constexpr const char* kPagesUnit = " 页";
inline constexpr const char* kSeparateDone = "分别转换完成：已生成PDF文件 ";  // + count
inline constexpr const char* kFilesUnit = " 个";
inline constexpr const char* kCancelledNothingKept = "转换已取消，未生成PDF文件";
inline constexpr const char* kCancelledSomeKept = "转换已取消，已生成PDF文件 ";  // + count
inline constexpr const char* kNothingWritten = "未生成PDF文件";
inline constexpr const char* kUnreadableCount = "，无法读取的图像 ";  // + count
// A job that broke off for a reason of its own (out of memory ...), + the reason.
inline constexpr const char* kConversionFailed = "转换失败：";

}  // namespace vestrel::output
