#include "ImageSizeList.h"

#include <algorithm>

namespace vestrel::scan {

const std::array<ImageSizeEntry, kSizeEntryCount>& ImageSizeList()
{
    static const std::array<ImageSizeEntry, kSizeEntryCount> list{{
        {"全部 ", 32830, "全部", 0, 0, ArmPosition::None, false},
        {"A3 (上端)", 35831, "", 2550, 1800, ArmPosition::Top, true},
        {"A4 (上端)", 32831, "A4(上端)", 2395, 1720, ArmPosition::Top, true},
        {"A5 (中间)", 32832, "A5(中间)", 1710, 1210, ArmPosition::Middle, true},
        {"A6 (下端)", 32833, "A6(下端)", 1220, 870, ArmPosition::Bottom, true},
        {"A7 (下端)", 32834, "A7(下端)", 870, 620, ArmPosition::Bottom, true},
        {"名片(下端)", 32835, "名片(下端)", 750, 450, ArmPosition::Bottom, true},
        {"身份证(下端)", 32836, "身份证(下端)", 710, 450, ArmPosition::Bottom, true},
        {"预设", 32837, "预设", 0, 0, ArmPosition::None, false},
    }};
    return list;
}

PixelRect ScanAreaRect(const Settings& s, int frameWidth, int frameHeight)
{
    const PixelRect frame{0, 0, frameWidth, frameHeight};
    PixelRect area;
    if (s.presetInForce) {
        area = {s.left, frameHeight - s.bottom, s.right, frameHeight - s.top};
    } else {
        if (s.w <= 0 || s.h <= 0) return frame;
        area = {(frameWidth - s.w) / 2, (frameHeight - s.h) / 2, (frameWidth + s.w) / 2,
                (frameHeight + s.h) / 2};
    }
    const PixelRect cut{std::max(area.left, 0), std::max(area.top, 0),
                        std::min(area.right, frameWidth), std::min(area.bottom, frameHeight)};
    return cut.empty() ? frame : cut;
}

int CheckedSizeEntry(const Settings& s)
{
    if (s.presetInForce) return kPresetEntry;
    if (s.w == s.lwidth && s.h == s.lheight) return kWholeFrameEntry;
    const auto& list = ImageSizeList();
    for (int i = 1; i < kPresetEntry; ++i) {
        if (list[i].w == s.w && list[i].h == s.h) return i;
    }
    return -1;
}

}  // namespace vestrel::scan
