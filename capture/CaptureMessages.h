#pragma once
// Every text the capture layer shows the user, in one place and in the program's own
// wording. Messages that once named a Windows component now name the piece that took its
// place in our capture layer.

namespace vestrel::capturemsg {

// Device list
inline constexpr const char* kEnumeratorFailed = "创建设备枚举器失败!";
inline constexpr const char* kNoCaptureDevice = "没有找到视频采集设备！";
inline constexpr const char* kNoSecondCamera = "没找第二个视频设备";

// Opening the device (the old graph build)
inline constexpr const char* kGraphFailed = "实例化Filter Graph失败!";
inline constexpr const char* kNoDevice = "不能访问视频设备!";
inline constexpr const char* kBindFailed = "视频设备绑定失败!";
inline constexpr const char* kAddDeviceFailed = "不能将视频Filter加入到Filter Graph中!";

// Preview
inline constexpr const char* kGrabberFailed = "不能创建SampleGrabber (请检查libv4l2是否安装?)";
inline constexpr const char* kMediaTypeFailed = "不能设置 media type";
inline constexpr const char* kConnectedTypeFailed = "不能获得连接的media type!";
inline constexpr const char* kCannotPreview = "该graph不能正常预览!";

// Formats and property pages
inline constexpr const char* kReadFormatFailed = "不能获得连接的视频格式!";
inline constexpr const char* kSetFormatFailed =
    "不能设置连接的视频格式,请在主菜单“工具->视频格式”下重新设置!";
inline constexpr const char* kVideoDeviceMissing = "视频设备未到位！";

// Device loss (the main window shows it when it acts on the device-lost event)
inline constexpr const char* kDeviceRemoved = "中断视频流，设备被移除！！！";

// Dialog captions
inline constexpr const char* kPropertiesCaption = "视频属性";
inline constexpr const char* kFormatCaption = "视频格式";
inline constexpr const char* kSecondCameraCaption = "视频 2";

}  // namespace vestrel::capturemsg
