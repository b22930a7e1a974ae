#pragma once
// Every text the main window shows the user, in one place, worded as the program always
// has. The window title is also the tray tool tip and the key by which a second start
// finds the running one, so all three stay one string.

namespace vestrel::appmsg {

inline constexpr const char* kMainWindowTitle = "Vestrel 文档摄像扫描系统";
inline constexpr const char* kShortName = "Vestrel";
inline constexpr const char* kDescriptiveTitle =
    "Vestrel 文档摄像扫描系统 —— 实时预览、扫描、裁剪、校正、存储与输出";
inline constexpr const char* kWebsite = "https://vestrel.example.org/";
inline constexpr const char* kFaxWebsite = "https://fax.vestrel.example.org/";

// Start-up and the camera
inline constexpr const char* kNoCaptureDevice = "没有找到视频采集设备！";
inline constexpr const char* kDeviceRemoved = "中断视频流，设备被移除！！！";
inline constexpr const char* kRecordingError = "录制视频发生错误，中断录制！！！";
inline constexpr const char* kDeviceNotifyFailed = "注册设备消息失败！";
inline constexpr const char* kNoSecondCamera = "没找第二个视频设备";

// Window commands
inline constexpr const char* kZoomOnlyForAll =
    "该数码变焦只对于图像大小为全部时有效，请切换到全部状态!!!";
inline constexpr const char* kStopEbookQuestion = "此操作将停止合成pdf，是否继续？";
inline constexpr const char* kWarningCaption = "警告";
inline constexpr const char* kEndCopyQuestion = "正在进行证件复印,是否终止?";
inline constexpr const char* kRecordingRefusesCopy = "正在录像,不能使用此功能";
inline constexpr const char* kPromptCaption = "提示";
inline constexpr const char* kSaveCurrentFile = "是否保存当前文件？";
inline constexpr const char* kButtonImagesFailed = "加载按钮图片失败！";

// The file-name dialog (211)
inline constexpr const char* kFileNameCaption = "文件名";

// Dialog captions
inline constexpr const char* kZoomDialogCaption = "数码变焦";
inline constexpr const char* kSecondCameraCaption = "视频 2";
inline constexpr const char* kAboutCaption = "关于软件";

// Help documents in the program folder
inline constexpr const char* kManualFile = "Help.pdf";
inline constexpr const char* kTroubleshootingFile = "Info.pdf";

}  // namespace vestrel::appmsg
