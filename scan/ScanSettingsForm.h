#pragma once
// The scan-settings dialog (165) without its widgets: the values it edits, which controls
// are enabled, and what each control does to the values and to the preview in the main
// window. The Qt dialog (scan/ui) only shows a form and feeds it the user's actions, so
// every rule here runs in a test without a display.

#include "Prompter.h"
#include "Settings.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>

namespace vestrel::scan {

// The format list of the dialog, in its order.
inline constexpr std::array<const char*, 9> kFormatList = {".bmp", ".jpg", ".gif", ".tif", ".ico",
                                                           ".png", ".pcx", ".ras", ".pdf"};
inline constexpr int kFormatJpg = 1;
inline constexpr int kFormatPdf = 8;
// The orientation list: 正常, 上下翻转, 左旋, 右旋.
inline constexpr std::array<const char*, 4> kOrientationList = {"正常", "上下翻转", "左旋", "右旋"};

// The edits' ranges. config.ini keeps `intertime` in four characters, so the interval
// stops at what a restart reads back unchanged.
inline constexpr int kThresholdMin = 0, kThresholdMax = 255;
inline constexpr int kStrengthMin = 1, kStrengthMax = 5;
inline constexpr int kIntervalMin = 0, kIntervalMax = 9999;

// Naming radios by index (naming mode - 1): 0 自定义, 1 时间命名, 2 序号递增 are the plain
// ones; 3 奇数, 4 偶数, 5 顺序 belong to book naming.
inline constexpr int kNamingSerialIndex = 2;
inline constexpr int kNamingOddIndex = 3;

struct ScanSettingsForm {
    std::string path;            // photo folder, ends with '/'
    bool threshold = false;      // 自动二值化
    int thresholdValue = 128;
    bool eraser = false;         // 自动去底色
    int eraserValue = 5;         // strength 1..5
    bool addtime = false;
    bool grayscale = false;
    bool incline = false;
    int sizeIndex = 0;           // entry of the image-size list
    int orientationIndex = 0;    // 0 normal, 1 upside down, 2 left, 3 right
    int formatIndex = kFormatJpg;
    int jpgQuality = 80;
    int interval = 4;            // milliseconds
    int namingIndex = kNamingSerialIndex;  // naming mode - 1
    bool bookNaming = false;     // 书籍扫描
    std::string bookname = "book";
    bool previewOn = false;      // the preview button reads 关闭预览
    // The preset rectangle and scan area, handed in so that they survive an entry change
    // made inside the dialog (the main window switches entries at once).
    int left = 0, right = 0, top = 0, bottom = 0, w = 0, h = 0;
    // What the dialog opened with, put back on Cancel.
    int startSizeIndex = 0;
    int startOrientationIndex = 0;
};

// What the dialog asks of the main window while it is open.
class SettingsPreviewTarget {
public:
    virtual ~SettingsPreviewTarget() = default;
    virtual void takeSnapshot() = 0;                 // the preview starts
    virtual void endPreview() = 0;                   // the preview ends: back to live
    virtual void selectSize(int index) = 0;          // the size list changed
    virtual void selectOrientation(int index) = 0;   // 0 normal, 1 upside down, 2 left, 3 right
    // The snapshot processed: binarised at `threshold` (-1: not), cleaned at `strength`
    // (-1: not).
    virtual void previewProcessing(int threshold, int strength) = 0;
};

// The form of the settings; `sizeIndex` is the size list's selection.
ScanSettingsForm FormFromSettings(const Settings& settings, int sizeIndex);
int FormatIndexOf(const std::string& foramt);  // 0 (".bmp") when not in the list
int OrientationIndexOf(const Orientation& o);

struct ScanSettingsControls {
    bool thresholdSlider = false;   // 1036, with 1004
    bool strengthButtons = false;   // 1037, 1038, with 1032
    bool previewButton = false;     // 1039, with 1004 or 1032
    bool qualitySlider = false;     // 1014, for ".jpg" and ".pdf"
    bool bookControls = false;      // 1008, 1016, 1040, 1041
    bool plainNaming = false;       // 1005, 1006, 1007
};
ScanSettingsControls EnabledControls(const ScanSettingsForm& form);

// The quality label, "80%".
std::string QualityLabel(int quality);
// The preview button's caption written top to bottom: one character per line with an
// empty line between characters.
std::string PreviewCaption(bool previewOn);

// ---- What the controls do ------------------------------------------------------------
// "浏览": a folder the user chose. The file system's root is refused with its message and
// the old path stays; otherwise the folder is taken with a trailing '/'.
bool ChoosePhotoFolder(ScanSettingsForm& form, const std::string& chosen, Prompter& prompter);
void ChooseSize(ScanSettingsForm& form, int index, SettingsPreviewTarget& target);
// Other formats than ".jpg" and ".pdf" store at quality 100.
void ChooseFormat(ScanSettingsForm& form, int index);
void SetBookNaming(ScanSettingsForm& form, bool on);
void SetThreshold(ScanSettingsForm& form, bool on, SettingsPreviewTarget& target);
void SetEraser(ScanSettingsForm& form, bool on, SettingsPreviewTarget& target);
void SetThresholdValue(ScanSettingsForm& form, int value, SettingsPreviewTarget& target);
// "－" (-1) and "＋" (+1): the strength stays within 1..5.
void StepStrength(ScanSettingsForm& form, int delta, SettingsPreviewTarget& target);
void TogglePreview(ScanSettingsForm& form, SettingsPreviewTarget& target);
// "恢复默认设置": the dialog's defaults, the size and orientation sent at once.
void RestoreFormDefaults(ScanSettingsForm& form, const std::filesystem::path& programDir,
                         SettingsPreviewTarget& target);
// OK and Cancel both end a running preview first.
void CloseForm(ScanSettingsForm& form, SettingsPreviewTarget& target);

// The number typed into a ranged edit, or the message that keeps the dialog open.
struct RangedNumber {
    std::optional<int> value;
    std::string message;
};
RangedNumber ReadRangedNumber(const std::string& text, int low, int high);

// ---- The main window's side ---------------------------------------------------------
// OK: the settings take the form's values (everything but the size entry, the orientation
// and the photo folder, which go through their own commands).
void CopyFormToSettings(const ScanSettingsForm& form, Settings& settings);
// After the preset entry was selected from the dialog (OK or Cancel): the rectangle and
// scan area handed in come back, in force when the still view holds a drawn rectangle.
void RestorePresetFromForm(const ScanSettingsForm& form, bool rectangleDrawn, Settings& settings);

}  // namespace vestrel::scan
