#include "CQuorvanDoc.h"
#include "HelperText.h"
#include "ScriptedPrompter.h"
#include "TempProgramDir.h"

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

std::string Labels(const std::vector<HelperPiece>& pieces, int line)
{
    std::string text;
    for (const HelperPiece& p : pieces)
        if (p.line == line && p.label) text += p.text;
    return text;
}

TEST(HelperText, StillViewWithoutAPictureSaysSo)
{
    const auto pieces = StillHelperPieces({});
    EXPECT_EQ(pieces, (std::vector<HelperPiece>{{10, 0, true, "提示："},
                                                {50, 0, false, " 静态"},
                                                {50, 1, false, "—— 窗口无图片显示"}}));
}

TEST(HelperText, StillViewNamesTheFileAndTheZoomOrFitAndThePrintState)
{
    StillHelperInput in;
    in.hasImage = true;
    in.fileDir = "/home/user/Photo/";
    in.fileName = "Image00012.jpg";
    auto pieces = StillHelperPieces(in);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0], (HelperPiece{10, 0, false, "文件：/home/user/Photo/Image00012.jpg"}));
    EXPECT_EQ(pieces[1], (HelperPiece{50, 1, true, "—— 缩放比例：1.0　　　打印机未设置打印 1:1 状态"}));

    // Nine steps down end just under 0.1 in floats and still read 0.1.
    for (int i = 0; i < 9; ++i) in.zoom -= 0.1f;
    EXPECT_EQ(Labels(StillHelperPieces(in), 1), "—— 缩放比例：0.1　　　打印机未设置打印 1:1 状态");

    in.fitWindow = true;
    in.print11 = true;
    in.printPos = 2;
    EXPECT_EQ(Labels(StillHelperPieces(in), 1), "—— 窗口大小　　　打印机处于中间打印 1:1 状态");
    in.fullScreen = true;
    in.printPos = 3;
    EXPECT_EQ(Labels(StillHelperPieces(in), 1), "全屏大小　　　打印机处于下端打印 1:1 状态");
    in.printPos = 1;
    EXPECT_EQ(Labels(StillHelperPieces(in), 1), "全屏大小　　　打印机处于上端打印 1:1 状态");
}

TEST(HelperText, OnlyTheFirstActiveToolInTheOrderIsHinted)
{
    StillHelperInput in;
    in.hasImage = true;
    in.textTool = in.pasting = in.rectSelect = true;
    auto pieces = StillHelperPieces(in);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[1], (HelperPiece{10, 1, true, "提示："}));
    EXPECT_EQ(pieces[2], (HelperPiece{50, 1, false, "“矩形框选”工具  —— 在图片中选择规则的矩形形状，可反向选择"}));

    in.freeSelect = true;
    EXPECT_EQ(LineText(StillHelperPieces(in), 1), "“自由框选”工具  —— 在图片中选择不规则的形状，可反向选择");
    in.cropTool = true;
    EXPECT_EQ(LineText(StillHelperPieces(in), 1), "“裁剪”工具  —— 裁剪图片中选中的部分");
    in.penTool = true;
    EXPECT_EQ(LineText(StillHelperPieces(in), 1), "“画笔”工具  —— 按住鼠标左键，在图片中作图");
    in.eraserTool = true;
    EXPECT_EQ(LineText(StillHelperPieces(in), 1), "“橡皮擦”工具  —— 按住鼠标左键，擦除图片中对应的信息");
    in.panTool = true;
    EXPECT_EQ(LineText(StillHelperPieces(in), 1), "“平移”工具 —— 要查看图片的其它部分，请拖动图片");

    StillHelperInput paste;
    paste.hasImage = true;
    paste.pasting = paste.textTool = true;
    EXPECT_EQ(LineText(StillHelperPieces(paste), 1),
              "“粘贴”工具  —— 空格键旋转粘贴的图片，在粘贴图片外按下鼠标左键完成粘贴");
    paste.pasting = false;
    EXPECT_EQ(LineText(StillHelperPieces(paste), 1),
              "“添加文字”工具  —— 在图片中添加文字，按下鼠标左键选择添加位置，在编辑框外按下鼠标左键完成添加");
}

TEST(HelperText, StillInputIsReadFromTheDocument)
{
    testkit::TempProgramDir dir;
    testkit::ScriptedPrompter prompter;
    document::CQuorvanDoc doc(prompter);
    EXPECT_FALSE(StillHelperInputOf(doc, false).hasImage);

    doc.SetImage(std::make_unique<CxImage>(4, 4, 24));
    doc.SetPath("/tmp/photos/scan.png");
    doc.SetZoom(2.0f);
    doc.SelectTool(document::Tool::Pan);
    const StillHelperInput in = StillHelperInputOf(doc, true, true, 1);
    EXPECT_TRUE(in.hasImage);
    EXPECT_EQ(in.fileDir + in.fileName, "/tmp/photos/scan.png");
    EXPECT_EQ(in.zoom, 2.0f);
    EXPECT_TRUE(in.panTool && in.fullScreen && in.print11);
    EXPECT_EQ(in.printPos, 1);
    EXPECT_EQ(LineText(StillHelperPieces(in), 1), "“平移”工具 —— 要查看图片的其它部分，请拖动图片");
}

}  // namespace
