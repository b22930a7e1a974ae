#include "MenuLayout.h"

#include "CommandIds.h"

namespace vestrel {
namespace {

using namespace cmd;
using K = MenuNode::Kind;

MenuNode Item(int id, std::string text) { return {K::Command, id, std::move(text), {}}; }
MenuNode Sep() { return {K::Separator, 0, {}, {}}; }
MenuNode Popup(std::string text, std::vector<MenuNode> items)
{
    return {K::Popup, 0, std::move(text), std::move(items)};
}

std::vector<MenuNode> BuildMainMenu()
{
    return {
        Popup("文件(&F)", {Item(ID_FILE_NEW, "新建"), Item(ID_FILE_OPEN, "打开"),
                           Item(ID_FILE_SAVE, "保存"), Item(ID_FILE_SAVE_AS, "另存为"), Sep(),
                           Item(ID_SEND_MAIL, "发送邮件"), Item(ID_NET_FAX, "网络传真"), Sep(),
                           Item(ID_FILE_PRINT_SETUP, "打印设置"),
                           Item(ID_PRINT_POSITION, "打印位置调整"),
                           Popup("打印（1:1）", {Item(ID_PRINT11_TOP, "上端"),
                                                Item(ID_PRINT11_MIDDLE, "中间"),
                                                Item(ID_PRINT11_BOTTOM, "下端")}),
                           Item(ID_FILE_PRINT, "打印"), Sep(), Item(ID_APP_EXIT, "退出(&X)")}),
        Popup("编辑(&E)", {Item(ID_EDIT_UNDO, "后退"), Item(ID_EDIT_REDO, "前进"), Sep(),
                           Item(ID_EDIT_CUT, "剪切"), Item(ID_EDIT_COPY, "复制"),
                           Item(ID_EDIT_PASTE, "粘贴"), Sep(),
                           Popup("橡皮擦", {Item(ID_ERASER_1, "1×"), Item(ID_ERASER_5, "5×"),
                                           Item(ID_ERASER_10, "10×"), Item(ID_ERASER_50, "50×")}),
                           Popup("画笔", {Item(ID_PEN_2, "2×"), Item(ID_PEN_4, "4×"),
                                         Item(ID_PEN_6, "6×"), Item(ID_PEN_8, "8×")}),
                           Sep(), Item(ID_ADD_TEXT, "添加文字"), Item(ID_SET_FONT, "设置字体"),
                           Sep(), Item(ID_CROP, "裁剪"), Sep(), Item(ID_DELETE, "删除")}),
        Popup("视图(&V)", {Item(ID_FULL_SCREEN, "全屏显示"), Item(ID_ACTUAL_SIZE, "实际大小"),
                           Item(ID_WINDOW_SIZE, "窗口大小"), Sep(), Item(ID_PAN, "移动"), Sep(),
                           Item(ID_LIVE_STILL, "动静转换"), Sep(),
                           Item(ID_WINDOW_RESTORE, "窗口复原")}),
        Popup("扫描(&W)", {Item(ID_SCAN_SETTINGS, "扫描设置"), Sep(), Item(ID_SCAN, "扫描图片"),
                           Sep(), Item(ID_TIMED_SCAN, "定时扫描"), Item(ID_STOP_SCAN, "停止扫描"),
                           Sep(), Item(ID_DIGITAL_ZOOM, "数码变焦"), Sep(),
                           Item(ID_RECORD, "录制视频"), Item(ID_STOP_RECORD, "停止录制"), Sep(),
                           Item(ID_SECOND_CAMERA, "开启视频2")}),
        Popup("图像(&I)", {Item(ID_ROTATE_LEFT90, "左旋90"), Item(ID_ROTATE_RIGHT90, "右旋90"),
                           Item(ID_ROTATE, "旋转"), Sep(), Item(ID_ZOOM_IN, "放大"),
                           Item(ID_ZOOM_OUT, "缩小"), Sep(), Item(ID_RESOLUTION, "分辨率"),
                           Item(ID_FILE_SIZE, "文件大小"), Sep(), Item(ID_RECT_SELECT, "矩形框选"),
                           Item(ID_FREE_SELECT, "自由框选"), Sep(),
                           Popup("图像校正", {Item(ID_GAMMA, "伽玛校正"),
                                             Item(ID_COLOUR_CORRECT, "颜色校正")})}),
        Popup("效果(&T)", {Item(ID_INVERT, "反色"), Item(ID_EMBOSS, "浮雕"),
                           Item(ID_EDGES, "边缘检测"), Sep(), Item(ID_BINARISE, "二值化"),
                           Item(ID_GREY, "灰度图"), Item(ID_DESKEW, "倾斜校正"), Sep(),
                           Item(ID_REMOVE_BACKGROUND, "去底色"), Item(ID_DENOISE, "去噪声"),
                           Item(ID_RED_EYE, "去红眼"), Sep(), Item(ID_ERODE, "腐蚀"),
                           Item(ID_DILATE, "膨胀"), Item(ID_BLUR, "模糊"), Item(ID_SHARPEN, "锐化"),
                           Item(ID_SOFTEN, "柔化"), Sep(), Item(ID_BRIGHTER, "增加亮度"),
                           Item(ID_DARKER, "降低亮度"), Sep(),
                           Item(ID_MORE_SATURATION, "增加饱和度"),
                           Item(ID_LESS_SATURATION, "降低饱和度"), Sep(),
                           Item(ID_MORE_CONTRAST, "增加对比度"),
                           Item(ID_LESS_CONTRAST, "降低对比度")}),
        Popup("工具(&S)", {Item(ID_VIDEO_FORMAT, "视频格式"), Item(ID_VIDEO_PROPERTIES, "视频属性"),
                           Sep(), Item(ID_AUDIO_FORMAT, "音频格式"), Sep(),
                           Item(ID_MAKE_PDF, "生成PDF"), Sep(), Item(ID_MAKE_SIGNATURE, "制作签名"),
                           Item(ID_INSERT_SIGNATURE, "插入签名"), Item(ID_STAMP, "图章"), Sep(),
                           Item(ID_OCR, "文字识别"), Item(ID_ID_CARD_COPY, "证件双面复印")}),
        Popup("帮助(&H)", {Item(ID_APP_ABOUT, "关于软件"), Item(ID_HELP_MANUAL, "使用帮助"),
                           Item(ID_HELP_TROUBLESHOOTING, "疑难问题解答"),
                           Item(ID_HELP_WEBSITE, "公司网站")}),
    };
}

std::vector<MenuNode> BuildLiveContextMenu()
{
    return {Item(ID_SCAN, "扫描图片"), Item(ID_SCAN_SETTINGS, "扫描设置"), Sep(),
            Item(ID_TIMED_SCAN, "定时扫描"), Item(ID_STOP_SCAN, "停止扫描"),
            Item(ID_SCAN_INTERVAL, "扫描间隔"), Sep(),
            Popup("图像大小", {Item(ID_SIZE_ALL, "全部"), Item(ID_SIZE_A4, "A4(上端)"),
                              Item(ID_SIZE_A5, "A5(中间)"), Item(ID_SIZE_A6, "A6(下端)"),
                              Item(ID_SIZE_A7, "A7(下端)"), Item(ID_SIZE_CARD, "名片(下端)"),
                              Item(ID_SIZE_ID_CARD, "身份证(下端)"), Item(ID_SIZE_PRESET, "预设")}),
            Popup("图像状态", {Item(ID_ORIENT_NORMAL, "正常"), Item(ID_ORIENT_UPSIDE_DOWN, "上下翻转"),
                              Item(ID_ORIENT_LEFT, "左旋"), Item(ID_ORIENT_RIGHT, "右旋")}),
            Sep(), Item(ID_RECORD, "录制视频"), Item(ID_STOP_RECORD, "停止录制"), Sep(),
            Item(ID_FULL_SCREEN, "全屏显示")};
}

// The still picture's menu: the clipboard, the selection tools, zoom and panning.
std::vector<MenuNode> BuildStillContextMenu()
{
    return {Item(ID_EDIT_CUT, "剪切"), Item(ID_EDIT_COPY, "复制"), Item(ID_EDIT_PASTE, "粘贴"),
            Item(ID_REMOVE_PASTE, "移除粘贴"), Sep(), Item(ID_RECT_SELECT, "矩形框选"),
            Item(ID_FREE_SELECT, "自由框选"), Item(ID_SET_FONT, "设置字体"), Item(ID_CROP, "裁剪"),
            Sep(), Item(ID_ZOOM_IN, "放大"), Item(ID_ZOOM_OUT, "缩小"), Item(ID_PAN, "移动"),
            Item(ID_FULL_SCREEN, "全屏显示"), Sep(), Item(ID_OCR_2, "文字识别")};
}

}  // namespace

const std::vector<MenuNode>& MainMenu()
{
    static const std::vector<MenuNode> menu = BuildMainMenu();
    return menu;
}

const std::vector<MenuNode>& LiveContextMenu()
{
    static const std::vector<MenuNode> menu = BuildLiveContextMenu();
    return menu;
}

const std::vector<MenuNode>& StillContextMenu()
{
    static const std::vector<MenuNode> menu = BuildStillContextMenu();
    return menu;
}

const std::vector<MenuNode>& DeskewDefaultsMenu()
{
    static const std::vector<MenuNode> menu = {Item(ID_MANUAL_DESKEW, "倾斜校正"),
                                               Item(ID_RESTORE_DEFAULTS, "恢复默认")};
    return menu;
}

const std::vector<MenuNode>& EraserSizeMenu()
{
    static const std::vector<MenuNode> menu = {Item(ID_ERASER_1, "1×"), Item(ID_ERASER_5, "5×"),
                                               Item(ID_ERASER_10, "10×"), Item(ID_ERASER_50, "50×")};
    return menu;
}

const std::vector<MenuNode>& PenSizeMenu()
{
    static const std::vector<MenuNode> menu = {Item(ID_PEN_2, "2×"), Item(ID_PEN_4, "4×"), Item(ID_PEN_6, "6×"),
                                               Item(ID_PEN_8, "8×")};
    return menu;
}

const std::vector<MenuNode>& TrayMenu()
{
    static const std::vector<MenuNode> menu = {Item(ID_TRAY_SHOW, "显示主窗体"),
                                               Item(ID_TRAY_EXIT, "退出")};
    return menu;
}

const std::vector<int>& MainToolBar()
{
    static const std::vector<int> bar = {
        ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0,
        ID_EDIT_UNDO, ID_EDIT_REDO, 0, ID_SIZE_LIST, 0, ID_SIZE_LIST, ID_SIZE_LIST, ID_SIZE_LIST,
        ID_SIZE_LIST, ID_SIZE_LIST, ID_ACTUAL_SIZE, ID_WINDOW_SIZE, 0, ID_FULL_SCREEN, 0,
        ID_ROTATE, ID_ROTATE_LEFT90, ID_ROTATE_RIGHT90, 0, ID_REMOVE_BACKGROUND, ID_GREY,
        ID_BINARISE, ID_DESKEW, ID_BRIGHTER, ID_DARKER, ID_MORE_CONTRAST, ID_LESS_CONTRAST, 0,
        ID_OCR};
    return bar;
}

const std::vector<int>& SecondToolBar()
{
    static const std::vector<int> bar = {ID_RESTORE_DEFAULTS, 0, ID_MAKE_PDF, 0,
                                         ID_INSERT_SIGNATURE, 0, ID_RECORD, 0, ID_EBOOK_START};
    return bar;
}

const std::vector<int>& LeftToolBar()
{
    static const std::vector<int> bar = {ID_SCAN, ID_TIMED_SCAN, ID_STOP_SCAN, 0, ID_LIVE_STILL,
                                         0, ID_RECT_SELECT, ID_FREE_SELECT, ID_CROP,
                                         ID_ADD_TEXT, ID_ZOOM_IN, ID_ZOOM_OUT, ID_PAN,
                                         ID_ERASER_TOOL, ID_PEN_TOOL};
    return bar;
}

const std::vector<std::string>& SizeListLabels()
{
    static const std::vector<std::string> labels = {
        "全部 ", "A3 (上端)", "A4 (上端)", "A5 (中间)", "A6 (下端)",
        "A7 (下端)", "名片(下端)", "身份证(下端)", "预设"};
    return labels;
}

std::vector<int> CommandIdsOf(const std::vector<MenuNode>& menu)
{
    std::vector<int> ids;
    for (const MenuNode& node : menu) {
        if (node.kind == MenuNode::Kind::Command) ids.push_back(node.id);
        if (node.kind == MenuNode::Kind::Popup) {
            const std::vector<int> inner = CommandIdsOf(node.items);
            ids.insert(ids.end(), inner.begin(), inner.end());
        }
    }
    return ids;
}

}  // namespace vestrel
