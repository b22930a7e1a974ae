#pragma once
// Every text a recording shows the user, in one place, worded as the program always has.
// The compressor the last one once named is our Motion-JPEG writer now.

namespace vestrel::recording::msg {

inline constexpr const char* kAviFilter = "AVI Files (*.avi)|*.avi||";
inline constexpr const char* kCannotSetOutputFile = "不能设置输出文件!";
inline constexpr const char* kNoCaptureInterface = "获取视频捕获接口失败!";
inline constexpr const char* kRecordingError = "录制视频发生错误，中断录制！！！";
inline constexpr const char* kNoPlayer = "没找到播放器";
inline constexpr const char* kNoCompressor = "没有找到视频压缩工具软件!";

}  // namespace vestrel::recording::msg
