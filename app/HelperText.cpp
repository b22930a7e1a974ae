#include "HelperText.h"

#include <cstdio>

namespace vestrel {
namespace {

const char* SizeText(int entry)
{
    switch (entry) {
    case 0: return "  全部视频";
    case 1: return "  A3大小 ";  // the A3 entry came later and never had a text of its own
    case 2: return "  A4大小 ";
    case 3: return "  A5大小";
    case 4: return "  A6大小";
    case 5: return "  A7大小";
    case 6: return "  名片大小";
    case 7: return "  身份证大小";
    default: return "";
    }
}

const char* NoteText(int entry, bool preset)
{
    if (preset || entry == 8) return "    注意：在图像显示区域，按住鼠标左键拖动可自定义扫描图像的大小。";
    switch (entry) {
    case 0: return "    注意： 图像处在全部大小，可进行数码变焦。";
    case 1: return "    注意： 如果您要扫描满幅A3文稿，请确认设备处于上端档位。";
    case 2: return "    注意： 如果您要扫描满幅A4文稿，请确认设备处于上端档位。";
    case 3: return "    注意：如果您要扫描满幅A5文稿，并保证高清晰度，请确认设备处于中端档位。";
    case 4: case 5: case 6: case 7:
        return "    注意：如果您需要扫描小尺寸(身份证、票据、名片等)文件，请确认设备处于下端档位。";
    default: return "";
    }
}

const char* TurnText(const Orientation& o)
{
    // Tested in this order, the last one set wins.
    const char* text = "正常状态";
    if (o.upsideDown) text = "上下翻转";
    if (o.rotateLeft) text = "左旋90度";
    if (o.rotateRight) text = "右旋90度";
    return text;
}

// The hint of the active tool; with two tools on only the first in this order is told.
const char* ToolHint(const StillHelperInput& in)
{
    if (in.panTool) return "“平移”工具 —— 要查看图片的其它部分，请拖动图片";
    if (in.eraserTool) return "“橡皮擦”工具  —— 按住鼠标左键，擦除图片中对应的信息";
    if (in.penTool) return "“画笔”工具  —— 按住鼠标左键，在图片中作图";
    if (in.cropTool) return "“裁剪”工具  —— 裁剪图片中选中的部分";
    if (in.freeSelect) return "“自由框选”工具  —— 在图片中选择不规则的形状，可反向选择";
    if (in.rectSelect) return "“矩形框选”工具  —— 在图片中选择规则的矩形形状，可反向选择";
    if (in.pasting) return "“粘贴”工具  —— 空格键旋转粘贴的图片，在粘贴图片外按下鼠标左键完成粘贴";
    if (in.textTool)
        return "“添加文字”工具  —— 在图片中添加文字，按下鼠标左键选择添加位置，在编辑框外按下鼠标左键完成添加";
    return nullptr;
}

const char* PrintText(const StillHelperInput& in)
{
    if (in.print11) {
        switch (in.printPos) {
        case 1: return "　　　打印机处于上端打印 1:1 状态";
        case 2: return "　　　打印机处于中间打印 1:1 状态";
        case 3: return "　　　打印机处于下端打印 1:1 状态";
        default: break;
        }
    }
    return "　　　打印机未设置打印 1:1 状态";
}

}  // namespace

std::vector<HelperPiece> StillHelperPieces(const StillHelperInput& in)
{
    if (!in.hasImage)
        return {{10, 0, true, "提示："}, {50, 0, false, " 静态"}, {50, 1, false, "—— 窗口无图片显示"}};

    std::vector<HelperPiece> pieces = {{10, 0, false, "文件：" + in.fileDir + in.fileName}};
    if (const char* hint = ToolHint(in)) {
        pieces.push_back({10, 1, true, "提示："});
        pieces.push_back({50, 1, false, hint});
        return pieces;
    }
    std::string scale;
    if (in.fullScreen) {
        scale = "全屏大小";
    } else if (in.fitWindow) {
        scale = "—— 窗口大小";
    } else {
        char zoom[32];
        std::snprintf(zoom, sizeof zoom, "%.1f", double(in.zoom));
        scale = std::string("—— 缩放比例：") + zoom;
    }
    pieces.push_back({50, 1, true, scale + PrintText(in)});
    return pieces;
}

std::vector<HelperPiece> LiveHelperPieces(const LiveHelperInput& in)
{
    if (in.timedScanning) {
        return {{10, 0, true, "提示："},
                {50, 0, false, "“定时扫描”状态"},
                {50, 1, false, "—— 定时扫描图片，并将其保存到安装目录下的Photo文件夹下"}};
    }
    if (in.recording) {
        std::vector<HelperPiece> pieces = {{10, 0, true, "提示："},
                                           {50, 0, false, "“录制视频”状态"},
                                           {50, 1, false, "—— 正在录制视频中......"}};
        if (in.recordingLimitSet)
            pieces.push_back({250, 1, false,
                              "   录制剩余时间：" + std::to_string(in.remainingSeconds) + "秒"});
        return pieces;
    }

    const Settings defaults;
    const Settings& s = in.settings ? *in.settings : defaults;
    std::string line1 = in.presetState ? "  预设状态" : SizeText(in.sizeEntry);
    line1 += "   ";
    line1 += TurnText(s.orientation);
    line1 += NoteText(in.sizeEntry, in.presetState);

    std::string line2;
    if (s.threshold) line2 += "  自动二值化";
    if (s.eraser) line2 += "  自动去底色";
    if (s.addtime) line2 += "  自动添加时间";
    if (s.grayscale) line2 += "  自动灰度图";
    if (s.incline) line2 += "  自动倾斜校正";
    line2 += "  文件格式：" + s.foramt;
    line2 += "  分辨率：" + std::to_string(s.lwidth) + "*" + std::to_string(s.lheight);

    return {{10, 0, true, "动态："}, {50, 0, false, line1}, {50, 1, false, line2}};
}

StillHelperInput StillHelperInputOf(const document::CQuorvanDoc& doc, bool fullScreen, bool print11,
                                    int printPos)
{
    using document::Tool;
    StillHelperInput in;
    in.hasImage = doc.Image() != nullptr;
    in.fileDir = doc.FileDir();
    in.fileName = doc.FileName();
    in.zoom = doc.Zoom();
    in.fitWindow = doc.IsFitWindow();
    in.panTool = doc.ToolOn(Tool::Pan);
    in.eraserTool = doc.ToolOn(Tool::Eraser);
    in.penTool = doc.ToolOn(Tool::Pen);
    in.cropTool = doc.ToolOn(Tool::Crop);
    in.freeSelect = doc.ToolOn(Tool::FreeSelect);
    in.rectSelect = doc.ToolOn(Tool::RectSelect);
    in.pasting = doc.HasFloatingPaste();
    in.textTool = doc.ToolOn(Tool::Text);
    in.fullScreen = fullScreen;
    in.print11 = print11;
    in.printPos = printPos;
    return in;
}

}  // namespace vestrel
