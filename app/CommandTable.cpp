#include "CommandTable.h"

#include "CommandIds.h"

#include <algorithm>
#include <array>

namespace vestrel {
namespace {

using namespace cmd;

CommandStatus Always(const FrameState&) { return {true, false}; }
CommandStatus Never(const FrameState&) { return {false, false}; }
CommandStatus WhenScanReady(const FrameState& s) { return {ScanReady(s), false}; }
// The editing commands' shared rule: a current image, and the still picture is shown.
CommandStatus WhenStillImage(const FrameState& s) { return {s.hasImage && !s.liveMode, false}; }

CommandStatus NewRule(const FrameState& s) { return {!s.liveMode, false}; }
CommandStatus BackRule(const FrameState& s) { return {s.hasImage && !s.liveMode && s.canBack, false}; }
CommandStatus ForwardRule(const FrameState& s) { return {s.hasImage && !s.liveMode && s.canForward, false}; }
CommandStatus ZoomInRule(const FrameState& s) { return {s.hasImage && !s.liveMode && s.canZoomIn, false}; }
CommandStatus ZoomOutRule(const FrameState& s) { return {s.hasImage && !s.liveMode && s.canZoomOut, false}; }
// Panning only makes sense while the image at its zoom is larger than the pane.
CommandStatus PanRule(const FrameState& s)
{
    return {s.hasImage && !s.liveMode && !s.fitWindow && s.imageOverflows, s.panTool && !s.fitWindow};
}

// The tool commands of the still view check what is on and which size is in force.
template <int Side> CommandStatus EraserSizeRule(const FrameState& s)
{
    return {s.hasImage && !s.liveMode, s.eraserSize == Side};
}
template <int Side> CommandStatus PenSizeRule(const FrameState& s)
{
    return {s.hasImage && !s.liveMode, s.penSize == Side};
}
CommandStatus TextToolRule(const FrameState& s) { return {s.hasImage && !s.liveMode, s.textTool}; }
CommandStatus EraserToolRule(const FrameState& s) { return {s.hasImage && !s.liveMode, s.eraserTool}; }
CommandStatus PenToolRule(const FrameState& s) { return {s.hasImage && !s.liveMode, s.penTool}; }

CommandStatus FullScreenRule(const FrameState& s)
{
    return {s.liveMode || s.hasImage, s.fullScreen};
}
// In live mode both act on the video window; the still side belongs to the image view.
CommandStatus ActualSizeRule(const FrameState& s)
{
    if (s.liveMode) return {true, s.actualSize};
    return {s.features.has(Feature::Document) && s.hasImage, !s.fitWindow};
}
CommandStatus WindowSizeRule(const FrameState& s)
{
    if (s.liveMode) return {true, !s.actualSize};
    return {s.features.has(Feature::Document) && s.hasImage, s.fitWindow};
}
CommandStatus TimedScanRule(const FrameState& s) { return {ScanReady(s), s.timedScanning}; }
CommandStatus StopScanRule(const FrameState& s)
{
    return {s.timedScanning && !s.recording && s.liveMode, false};
}
// A new recording waits until the last one's tool window is closed; ID-card copy mode
// keeps the camera for itself.
CommandStatus RecordRule(const FrameState& s)
{
    return {ScanReady(s) && !s.recordingOpen && !s.idCardCopyMode, s.recordingOpen};
}
CommandStatus StopRecordRule(const FrameState& s)
{
    return {s.recordingOpen && !s.recordingStopped && s.liveMode, false};
}
CommandStatus RecordAgainRule(const FrameState& s)
{
    return {s.recordingOpen && s.recordingStopped && s.liveMode, false};
}
CommandStatus PlayRecordingRule(const FrameState& s) { return {s.recordNoStopNeeded, false}; }
CommandStatus EbookStartRule(const FrameState& s)
{
    return {!s.ebookRunning && !s.timedScanning && s.liveMode && !s.recording && !s.idCardCopyMode,
            false};
}
CommandStatus MakePdfRule(const FrameState& s) { return {!s.timedScanning && !s.recording, false}; }
CommandStatus EbookStopRule(const FrameState& s) { return {s.ebookRunning, false}; }
CommandStatus IdCardCopyRule(const FrameState& s) { return {ScanReady(s), s.idCardCopyMode}; }
CommandStatus CopyFrontRule(const FrameState& s) { return {s.idCardCopyMode && s.idCardCopyStep == 1, false}; }
CommandStatus CopyBackRule(const FrameState& s) { return {s.idCardCopyMode && s.idCardCopyStep == 2, false}; }

template <int Entry>
CommandStatus SizeRule(const FrameState& s)
{
    return {ScanReady(s), s.sizeEntryInForce == Entry};
}
// The 1:1 positions: only on the still picture; checked while 1:1 printing is on there.
template <int Position>
CommandStatus Print11Rule(const FrameState& s)
{
    return {!s.liveMode, s.print11 && s.printPos == Position};
}
// Nothing switches the picture under the open print preview.
CommandStatus LiveStillRule(const FrameState& s) { return {!s.printPreview, false}; }

// The selection commands: a current image on the still picture; each checked while on.
CommandStatus RectSelectRule(const FrameState& s) { return {s.hasImage && !s.liveMode, s.rectSelectTool}; }
CommandStatus FreeSelectRule(const FrameState& s) { return {s.hasImage && !s.liveMode, s.freeSelectTool}; }
CommandStatus CropRule(const FrameState& s) { return {s.hasImage && !s.liveMode, s.cropTool}; }
CommandStatus CutRule(const FrameState& s) { return {s.hasImage && !s.liveMode && s.hasSelection, false}; }
// Paste needs no picture: into an empty document the pasted picture becomes the picture.
CommandStatus PasteRule(const FrameState& s) { return {!s.liveMode && s.clipboardHasPicture, false}; }
CommandStatus RemovePasteRule(const FrameState& s)
{
    return {s.hasImage && !s.liveMode && s.floatingPaste, false};
}

CommandStatus NormalRule(const FrameState& s) { return {ScanReady(s), s.orientation == Orientation{}}; }
CommandStatus UpsideDownRule(const FrameState& s) { return {ScanReady(s), s.orientation.upsideDown}; }
CommandStatus RotateLeftRule(const FrameState& s) { return {ScanReady(s), s.orientation.rotateLeft}; }
CommandStatus RotateRightRule(const FrameState& s) { return {ScanReady(s), s.orientation.rotateRight}; }
// A signature or stamp is placed by the floating paste's mouse handling: without it the
// mark could never leave the pointer.
CommandStatus WhenMarkCanFloat(const FrameState& s)
{
    return {s.features.has(Feature::Clipboard) && s.hasImage && !s.liveMode, false};
}

using F = Feature;

// One row per command id; rows are kept in menu order where a menu holds the command.
constexpr CommandInfo kCommands[] = {
    // 文件
    {ID_FILE_NEW, "新建", F::Document, NewRule, "document-new", ""},
    {ID_FILE_OPEN, "打开", F::Document, Always, "document-open", "open.svg"},
    {ID_FILE_SAVE, "保存", F::Document, WhenStillImage, "document-save", "save.svg"},
    {ID_FILE_SAVE_AS, "另存为", F::Document, WhenStillImage, "document-save-as", ""},
    {ID_SEND_MAIL, "发送邮件", F::Mail, Always, "mail-send", ""},
    {ID_NET_FAX, "网络传真", F::Mail, Always, "", ""},
    {ID_FILE_PRINT_SETUP, "打印设置", F::Printing, Always, "document-page-setup", ""},
    {ID_PRINT_POSITION, "打印位置调整", F::Printing, Always, "", ""},
    {ID_PRINT11_TOP, "上端", F::Printing, Print11Rule<1>, "", ""},
    {ID_PRINT11_MIDDLE, "中间", F::Printing, Print11Rule<2>, "", ""},
    {ID_PRINT11_BOTTOM, "下端", F::Printing, Print11Rule<3>, "", ""},
    {ID_FILE_PRINT, "打印", F::Printing, WhenStillImage, "document-print", ""},
    {ID_APP_EXIT, "退出(&X)", F::Frame, Always, "application-exit", ""},
    // 编辑
    {ID_EDIT_UNDO, "后退", F::Document, BackRule, "edit-undo", "undo.svg"},
    {ID_EDIT_REDO, "前进", F::Document, ForwardRule, "edit-redo", "redo.svg"},
    {ID_EDIT_CUT, "剪切", F::Clipboard, CutRule, "edit-cut", "cut.svg"},
    {ID_EDIT_COPY, "复制", F::Clipboard, WhenStillImage, "edit-copy", "copy.svg"},
    {ID_EDIT_PASTE, "粘贴", F::Clipboard, PasteRule, "edit-paste", "paste.svg"},
    {ID_REMOVE_PASTE, "移除粘贴", F::Clipboard, RemovePasteRule, "", ""},
    {ID_ERASER_1, "1×", F::ViewTools, EraserSizeRule<1>, "", ""},
    {ID_ERASER_5, "5×", F::ViewTools, EraserSizeRule<5>, "", ""},
    {ID_ERASER_10, "10×", F::ViewTools, EraserSizeRule<10>, "", ""},
    {ID_ERASER_50, "50×", F::ViewTools, EraserSizeRule<32>, "", ""},
    {ID_PEN_2, "2×", F::ViewTools, PenSizeRule<2>, "", ""},
    {ID_PEN_4, "4×", F::ViewTools, PenSizeRule<4>, "", ""},
    {ID_PEN_6, "6×", F::ViewTools, PenSizeRule<6>, "", ""},
    {ID_PEN_8, "8×", F::ViewTools, PenSizeRule<8>, "", ""},
    {ID_ADD_TEXT, "添加文字", F::ViewTools, TextToolRule, "insert-text", "text.svg"},
    {ID_SET_FONT, "设置字体", F::ViewTools, WhenStillImage, "preferences-desktop-font", ""},
    {ID_CROP, "裁剪", F::Selection, CropRule, "", "crop.svg"},
    {ID_DELETE, "删除", F::Document, WhenStillImage, "edit-delete", ""},
    {ID_ERASER_TOOL, "橡皮擦", F::ViewTools, EraserToolRule, "", "eraser.svg"},
    {ID_PEN_TOOL, "画笔", F::ViewTools, PenToolRule, "", "pen.svg"},
    // 视图
    {ID_FULL_SCREEN, "全屏显示", F::Frame, FullScreenRule, "view-fullscreen", "fullscreen.svg"},
    {ID_ACTUAL_SIZE, "实际大小", F::Frame, ActualSizeRule, "zoom-original", "actual-size.svg"},
    {ID_WINDOW_SIZE, "窗口大小", F::Frame, WindowSizeRule, "zoom-fit-best", "window-size.svg"},
    {ID_PAN, "移动", F::Document, PanRule, "", "pan.svg"},
    {ID_LIVE_STILL, "动静转换", F::Frame, LiveStillRule, "", "live-still.svg"},
    {ID_WINDOW_RESTORE, "窗口复原", F::Frame, Always, "", ""},
    // 扫描
    {ID_SCAN_SETTINGS, "扫描设置", F::ScanSettings, WhenScanReady, "preferences-system", ""},
    {ID_SCAN, "扫描图片", F::ScanStore, WhenScanReady, "camera-photo", "scan.svg"},
    {ID_TIMED_SCAN, "定时扫描", F::ScanStore, TimedScanRule, "", "timed-scan.svg"},
    {ID_STOP_SCAN, "停止扫描", F::ScanStore, StopScanRule, "media-playback-stop", "stop-scan.svg"},
    {ID_DIGITAL_ZOOM, "数码变焦", F::Capture, WhenScanReady, "zoom-in", ""},
    {ID_RECORD, "录制视频", F::Recording, RecordRule, "media-record", "record.svg"},
    {ID_STOP_RECORD, "停止录制", F::Recording, StopRecordRule, "media-playback-stop", ""},
    {ID_SECOND_CAMERA, "开启视频2", F::Capture, Always, "camera-video", ""},
    {ID_SCAN_INTERVAL, "扫描间隔", F::ScanSettings, WhenScanReady, "", ""},
    // 图像
    {ID_ROTATE_LEFT90, "左旋90", F::ImageOperations, WhenStillImage, "object-rotate-left", "rotate-left.svg"},
    {ID_ROTATE_RIGHT90, "右旋90", F::ImageOperations, WhenStillImage, "object-rotate-right", "rotate-right.svg"},
    {ID_ROTATE, "旋转", F::ImageOperations, WhenStillImage, "", "rotate.svg"},
    {ID_ZOOM_IN, "放大", F::Document, ZoomInRule, "zoom-in", "zoom-in.svg"},
    {ID_ZOOM_OUT, "缩小", F::Document, ZoomOutRule, "zoom-out", "zoom-out.svg"},
    {ID_RESOLUTION, "分辨率", F::ImageOperations, WhenStillImage, "", ""},
    {ID_FILE_SIZE, "文件大小", F::ImageOperations, WhenStillImage, "", ""},
    {ID_RECT_SELECT, "矩形框选", F::Selection, RectSelectRule, "", "rect-select.svg"},
    {ID_FREE_SELECT, "自由框选", F::Selection, FreeSelectRule, "", "free-select.svg"},
    {ID_GAMMA, "伽玛校正", F::ImageOperations, WhenStillImage, "", ""},
    {ID_COLOUR_CORRECT, "颜色校正", F::ImageOperations, WhenStillImage, "", ""},
    // 效果
    {ID_INVERT, "反色", F::ImageOperations, WhenStillImage, "", ""},
    {ID_EMBOSS, "浮雕", F::ImageOperations, WhenStillImage, "", ""},
    {ID_EDGES, "边缘检测", F::ImageOperations, WhenStillImage, "", ""},
    {ID_BINARISE, "二值化", F::ImageOperations, WhenStillImage, "", "binarise.svg"},
    {ID_GREY, "灰度图", F::ImageOperations, WhenStillImage, "", "grey.svg"},
    {ID_DESKEW, "倾斜校正", F::ImageOperations, WhenStillImage, "", "deskew.svg"},
    {ID_REMOVE_BACKGROUND, "去底色", F::ImageOperations, WhenStillImage, "", "background.svg"},
    {ID_DENOISE, "去噪声", F::ImageOperations, WhenStillImage, "", ""},
    {ID_RED_EYE, "去红眼", F::ImageOperations, WhenStillImage, "", ""},
    {ID_ERODE, "腐蚀", F::ImageOperations, WhenStillImage, "", ""},
    {ID_DILATE, "膨胀", F::ImageOperations, WhenStillImage, "", ""},
    {ID_BLUR, "模糊", F::ImageOperations, WhenStillImage, "", ""},
    {ID_SHARPEN, "锐化", F::ImageOperations, WhenStillImage, "", ""},
    {ID_SOFTEN, "柔化", F::ImageOperations, WhenStillImage, "", ""},
    {ID_BRIGHTER, "增加亮度", F::ImageOperations, WhenStillImage, "", "brighter.svg"},
    {ID_DARKER, "降低亮度", F::ImageOperations, WhenStillImage, "", "darker.svg"},
    {ID_MORE_SATURATION, "增加饱和度", F::ImageOperations, WhenStillImage, "", ""},
    {ID_LESS_SATURATION, "降低饱和度", F::ImageOperations, WhenStillImage, "", ""},
    {ID_MORE_CONTRAST, "增加对比度", F::ImageOperations, WhenStillImage, "", "more-contrast.svg"},
    {ID_LESS_CONTRAST, "降低对比度", F::ImageOperations, WhenStillImage, "", "less-contrast.svg"},
    {ID_MANUAL_DESKEW, "倾斜校正", F::ViewTools, WhenStillImage, "", ""},
    // 工具
    {ID_VIDEO_FORMAT, "视频格式", F::CaptureDialogs, WhenScanReady, "", ""},
    {ID_VIDEO_PROPERTIES, "视频属性", F::CaptureDialogs, WhenScanReady, "", ""},
    {ID_AUDIO_FORMAT, "音频格式", F::Recording, Never, "", ""},
    {ID_MAKE_PDF, "生成PDF", F::Pdf, MakePdfRule, "", "pdf.svg"},
    {ID_MAKE_SIGNATURE, "制作签名", F::Signatures, Always, "", ""},
    {ID_INSERT_SIGNATURE, "插入签名", F::Signatures, WhenMarkCanFloat, "", "signature.svg"},
    {ID_STAMP, "图章", F::Signatures, WhenMarkCanFloat, "", ""},
    {ID_OCR, "文字识别", F::TextRecognition, Always, "", "ocr.svg"},
    {ID_OCR_2, "文字识别", F::TextRecognition, Always, "", ""},
    {ID_ID_CARD_COPY, "证件双面复印", F::IdCardCopy, IdCardCopyRule, "", ""},
    // 帮助
    {ID_APP_ABOUT, "关于软件", F::Frame, Always, "help-about", ""},
    {ID_HELP_MANUAL, "使用帮助", F::Frame, Always, "help-contents", ""},
    {ID_HELP_TROUBLESHOOTING, "疑难问题解答", F::Frame, Always, "help-faq", ""},
    {ID_HELP_WEBSITE, "公司网站", F::Frame, Always, "applications-internet", ""},
    // 图像大小 and 图像状态 (live context menu), the size list
    {ID_SIZE_ALL, "全部", F::Scanning, SizeRule<0>, "", ""},
    {ID_SIZE_A3, "A3 (上端)", F::Scanning, SizeRule<1>, "", ""},
    {ID_SIZE_A4, "A4(上端)", F::Scanning, SizeRule<2>, "", ""},
    {ID_SIZE_A5, "A5(中间)", F::Scanning, SizeRule<3>, "", ""},
    {ID_SIZE_A6, "A6(下端)", F::Scanning, SizeRule<4>, "", ""},
    {ID_SIZE_A7, "A7(下端)", F::Scanning, SizeRule<5>, "", ""},
    {ID_SIZE_CARD, "名片(下端)", F::Scanning, SizeRule<6>, "", ""},
    {ID_SIZE_ID_CARD, "身份证(下端)", F::Scanning, SizeRule<7>, "", ""},
    {ID_SIZE_PRESET, "预设", F::Scanning, SizeRule<8>, "", ""},
    {ID_SIZE_LIST, "图像大小", F::Scanning, WhenScanReady, "", ""},
    {ID_ORIENT_NORMAL, "正常", F::Scanning, NormalRule, "", ""},
    {ID_ORIENT_UPSIDE_DOWN, "上下翻转", F::Scanning, UpsideDownRule, "", ""},
    {ID_ORIENT_LEFT, "左旋", F::Scanning, RotateLeftRule, "", ""},
    {ID_ORIENT_RIGHT, "右旋", F::Scanning, RotateRightRule, "", ""},
    // Second tool bar, floating tool windows, button pane, tray
    {ID_RESTORE_DEFAULTS, "恢复默认", F::Frame, WhenScanReady, "document-revert", "defaults.svg"},
    {ID_EBOOK_START, "制作pdf电子书", F::Pdf, EbookStartRule, "", "ebook.svg"},
    {ID_EBOOK_STOP, "停止电子书", F::Pdf, EbookStopRule, "", ""},
    {ID_RECORD_OPEN_ENDED, "开始录制", F::Recording, RecordAgainRule, "", ""},
    {ID_RECORD_PLAY, "播放录像", F::Recording, PlayRecordingRule, "", ""},
    {ID_RECORD_CLOSE, "关闭", F::Recording, Always, "", ""},
    {ID_COPY_STEP_1, "复印正面", F::IdCardCopy, CopyFrontRule, "", ""},
    {ID_COPY_STEP_2, "复印反面", F::IdCardCopy, CopyBackRule, "", ""},
    {ID_COPY_END, "结束复印", F::IdCardCopy, Always, "", ""},
    {ID_OPEN_LIBRARY, "打开图片库", F::Library, Always, "", ""},
    {ID_TRAY_SHOW, "显示主窗体", F::Frame, Always, "", ""},
    {ID_TRAY_EXIT, "退出", F::Frame, Always, "", ""},
};

}  // namespace

std::span<const CommandInfo> AllCommands() { return kCommands; }

const CommandInfo* FindCommand(int id)
{
    const auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                                 [id](const CommandInfo& c) { return c.id == id; });
    return it == std::end(kCommands) ? nullptr : &*it;
}

bool RunsWhileImageBusy(int id)
{
    // The window's own commands, except those that show or size the still picture.
    const CommandInfo* info = FindCommand(id);
    return info && info->owner == Feature::Frame && id != ID_LIVE_STILL && id != ID_ACTUAL_SIZE &&
           id != ID_WINDOW_SIZE && id != ID_RESTORE_DEFAULTS;
}

CommandStatus StatusOf(int id, const FrameState& state)
{
    const CommandInfo* info = FindCommand(id);
    if (!info || !state.features.has(info->owner)) return {};
    const CommandStatus status = info->rule(state);
    if (state.imageBusy && !RunsWhileImageBusy(id)) return {false, status.checked};
    return status;
}

}  // namespace vestrel
