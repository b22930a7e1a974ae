#include "ScanSettingsForm.h"

#include "ImageSizeList.h"
#include "ScanMessages.h"
#include "StorageFolder.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace vestrel::scan {
namespace {

bool IsBookNamingIndex(int index) { return index >= kNamingOddIndex && index <= 5; }

// The values the preview processes with: -1 for a switched-off step.
void SendProcessing(const ScanSettingsForm& form, SettingsPreviewTarget& target)
{
    target.previewProcessing(form.threshold ? form.thresholdValue : -1,
                             form.eraser ? form.eraserValue : -1);
}

// After a processing check box changed: the preview follows, and ends when neither step
// is left to show.
void ProcessingToggled(ScanSettingsForm& form, SettingsPreviewTarget& target)
{
    if (!form.previewOn) return;
    SendProcessing(form, target);
    if (!form.threshold && !form.eraser) {
        target.endPreview();
        form.previewOn = false;
    }
}

}  // namespace

int FormatIndexOf(const std::string& foramt)
{
    for (std::size_t i = 0; i < kFormatList.size(); ++i)
        if (foramt == kFormatList[i]) return int(i);
    return 0;
}

int OrientationIndexOf(const Orientation& o)
{
    if (o.upsideDown) return 1;
    if (o.rotateLeft) return 2;
    if (o.rotateRight) return 3;
    return 0;
}

ScanSettingsForm FormFromSettings(const Settings& s, int sizeIndex)
{
    ScanSettingsForm form;
    form.path = s.path;
    form.threshold = s.threshold == 1;
    form.thresholdValue = s.thresholdvalue;
    form.eraser = s.eraser == 1;
    form.eraserValue = s.eraservalue;
    form.addtime = s.addtime == 1;
    form.grayscale = s.grayscale == 1;
    form.incline = s.incline == 1;
    form.sizeIndex = std::clamp(sizeIndex, 0, kSizeEntryCount - 1);
    form.orientationIndex = OrientationIndexOf(s.orientation);
    form.formatIndex = FormatIndexOf(s.foramt);
    form.jpgQuality = s.jpgquality;
    form.interval = s.intertime;
    form.namingIndex = std::clamp(s.name, 1, 6) - 1;
    form.bookNaming = IsBookNamingIndex(form.namingIndex);
    form.bookname = s.bookname;
    form.left = s.left;
    form.right = s.right;
    form.top = s.top;
    form.bottom = s.bottom;
    form.w = s.w;
    form.h = s.h;
    form.startSizeIndex = form.sizeIndex;
    form.startOrientationIndex = form.orientationIndex;
    return form;
}

ScanSettingsControls EnabledControls(const ScanSettingsForm& form)
{
    ScanSettingsControls c;
    c.thresholdSlider = form.threshold;
    c.strengthButtons = form.eraser;
    c.previewButton = form.threshold || form.eraser;
    c.qualitySlider = form.formatIndex == kFormatJpg || form.formatIndex == kFormatPdf;
    c.bookControls = form.bookNaming;
    c.plainNaming = !form.bookNaming;
    return c;
}

std::string QualityLabel(int quality) { return std::to_string(quality) + "%"; }

std::string PreviewCaption(bool previewOn)
{
    // 开启预览 / 关闭预览, one character a line, an empty line between them.
    const char* characters[] = {previewOn ? "关" : "开", previewOn ? "闭" : "启", "预", "览"};
    std::string caption;
    for (const char* c : characters) {
        if (!caption.empty()) caption += "\n\n";
        caption += c;
    }
    return caption;
}

bool ChoosePhotoFolder(ScanSettingsForm& form, const std::string& chosen, Prompter& prompter)
{
    if (chosen.empty() || RefuseSystemRoot(chosen, prompter)) return false;
    form.path = chosen.back() == '/' ? chosen : chosen + '/';
    return true;
}

void ChooseSize(ScanSettingsForm& form, int index, SettingsPreviewTarget& target)
{
    if (index < 0 || index >= kSizeEntryCount) return;
    form.sizeIndex = index;
    target.selectSize(index);
}

void ChooseFormat(ScanSettingsForm& form, int index)
{
    if (index < 0 || index >= int(kFormatList.size())) return;
    form.formatIndex = index;
    if (index != kFormatJpg && index != kFormatPdf) form.jpgQuality = 100;
}

void SetBookNaming(ScanSettingsForm& form, bool on)
{
    form.bookNaming = on;
    if (on && !IsBookNamingIndex(form.namingIndex)) form.namingIndex = kNamingOddIndex;
    if (!on && IsBookNamingIndex(form.namingIndex)) form.namingIndex = kNamingSerialIndex;
}

void SetThreshold(ScanSettingsForm& form, bool on, SettingsPreviewTarget& target)
{
    form.threshold = on;
    ProcessingToggled(form, target);
}

void SetEraser(ScanSettingsForm& form, bool on, SettingsPreviewTarget& target)
{
    form.eraser = on;
    ProcessingToggled(form, target);
}

void SetThresholdValue(ScanSettingsForm& form, int value, SettingsPreviewTarget& target)
{
    form.thresholdValue = std::clamp(value, kThresholdMin, kThresholdMax);
    if (form.previewOn) SendProcessing(form, target);
}

void StepStrength(ScanSettingsForm& form, int delta, SettingsPreviewTarget& target)
{
    form.eraserValue = std::clamp(form.eraserValue + delta, kStrengthMin, kStrengthMax);
    if (form.previewOn) SendProcessing(form, target);
}

void TogglePreview(ScanSettingsForm& form, SettingsPreviewTarget& target)
{
    if (form.previewOn) {
        target.endPreview();
        form.previewOn = false;
        return;
    }
    target.takeSnapshot();
    SendProcessing(form, target);
    form.previewOn = true;
}

void RestoreFormDefaults(ScanSettingsForm& form, const std::filesystem::path& programDir,
                         SettingsPreviewTarget& target)
{
    const Settings d = DefaultSettings(programDir);
    form.jpgQuality = d.jpgquality;
    form.sizeIndex = kWholeFrameEntry;
    target.selectSize(kWholeFrameEntry);
    form.orientationIndex = 0;
    target.selectOrientation(0);
    form.formatIndex = kFormatJpg;
    form.namingIndex = kNamingSerialIndex;
    form.bookname = d.bookname;
    form.bookNaming = false;
    form.thresholdValue = d.thresholdvalue;
    form.eraserValue = d.eraservalue;
    form.eraser = false;
    form.addtime = false;
    form.grayscale = false;
    form.interval = d.intertime;
    form.incline = false;
    form.threshold = false;
    form.path = d.path;
}

void CloseForm(ScanSettingsForm& form, SettingsPreviewTarget& target)
{
    if (!form.previewOn) return;
    target.endPreview();
    form.previewOn = false;
}

RangedNumber ReadRangedNumber(const std::string& text, int low, int high)
{
    RangedNumber result;
    std::size_t begin = text.find_first_not_of(' ');
    const std::size_t end = text.find_last_not_of(' ');
    int value = 0;
    bool number = begin != std::string::npos;
    if (number) {
        const char* first = text.data() + begin;
        const char* last = text.data() + end + 1;
        if (*first == '+') ++first;
        const auto [stop, ec] = std::from_chars(first, last, value);
        number = ec == std::errc() && stop == last;
    }
    if (number && value >= low && value <= high) {
        result.value = value;
        return result;
    }
    char buf[160];
    std::snprintf(buf, sizeof buf, messages::kNumberOutOfRange, low, high);
    result.message = buf;
    if (high == kIntervalMax) result.message += messages::kIntervalLimitReason;
    return result;
}

void CopyFormToSettings(const ScanSettingsForm& form, Settings& s)
{
    s.threshold = form.threshold ? 1 : 0;
    s.thresholdvalue = form.thresholdValue;
    s.eraser = form.eraser ? 1 : 0;
    s.eraservalue = form.eraserValue;
    s.addtime = form.addtime ? 1 : 0;
    s.grayscale = form.grayscale ? 1 : 0;
    s.name = form.namingIndex + 1;
    s.jpgquality = form.jpgQuality;
    s.intertime = form.interval;
    s.incline = form.incline ? 1 : 0;
    s.bookname = form.bookname;
    s.foramt = form.formatIndex >= 1 && form.formatIndex < int(kFormatList.size())
                   ? kFormatList[std::size_t(form.formatIndex)]
                   : kFormatList[0];
}

void RestorePresetFromForm(const ScanSettingsForm& form, bool rectangleDrawn, Settings& s)
{
    s.left = form.left;
    s.right = form.right;
    s.top = form.top;
    s.bottom = form.bottom;
    s.w = form.w;
    s.h = form.h;
    if (rectangleDrawn) s.presetInForce = true;
}

}  // namespace vestrel::scan
