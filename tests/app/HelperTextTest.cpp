#include "HelperText.h"

#include <gtest/gtest.h>

using namespace vestrel;

namespace {

std::string LineText(const std::vector<HelperPiece>& pieces, int line)
{
    std::string text;
    for (const HelperPiece& p : pieces)
        if (p.line == line && !p.label) text += p.text;
    return text;
}

TEST(HelperText, LiveViewShowsSizeTurnNoteSwitchesAndResolution)
{
    Settings s;
    s.orientation.rotateLeft = true;
    s.threshold = 1;
    s.grayscale = 1;
    s.foramt = ".tif";
    s.lwidth = 1600;
    s.lheight = 1200;
    LiveHelperInput in;
    in.sizeEntry = 2;
    in.settings = &s;
    const auto pieces = LiveHelperPieces(in);
    ASSERT_FALSE(pieces.empty());
    EXPECT_EQ(pieces[0], (HelperPiece{10, 0, true, "动态："}));
    EXPECT_EQ(LineText(pieces, 0),
              "  A4大小    左旋90度    注意： 如果您要扫描满幅A4文稿，请确认设备处于上端档位。");
    EXPECT_EQ(LineText(pieces, 1), "  自动二值化  自动灰度图  文件格式：.tif  分辨率：1600*1200");

    in.presetState = true;
    EXPECT_EQ(LineText(LiveHelperPieces(in), 0),
              "  预设状态   左旋90度    注意：在图像显示区域，按住鼠标左键拖动可自定义扫描图像的大小。");
}

TEST(HelperText, TimedScanningAndRecordingReplaceTheSettings)
{
    LiveHelperInput in;
    in.timedScanning = true;
    in.recording = true;
    auto pieces = LiveHelperPieces(in);
    EXPECT_EQ(LineText(pieces, 0), "“定时扫描”状态");
    EXPECT_EQ(LineText(pieces, 1), "—— 定时扫描图片，并将其保存到安装目录下的Photo文件夹下");

    in.timedScanning = false;
    in.recordingLimitSet = true;
    in.remainingSeconds = 42;
    pieces = LiveHelperPieces(in);
    EXPECT_EQ(LineText(pieces, 1), "—— 正在录制视频中......   录制剩余时间：42秒");
    EXPECT_EQ(pieces.back().x, 250);
}

}  // namespace
