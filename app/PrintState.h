#pragma once
// 1:1 printing as the still view keeps it: on or off, and the camera arm's position whose
// factor scales the print. The three position commands and the size entries change it;
// the information pane and the print read it.

#include "ImageSizeList.h"
#include "PrintGeometry.h"

namespace vestrel {

struct Print11State {
    int m_bPrint11 = 0;   // 1: 1:1 printing on
    int m_nPrintPos = 0;  // 0 none, 1 top, 2 middle, 3 bottom
};

// "上端", "中间", "下端": the position already chosen switches 1:1 printing on or off;
// another position switches it on there.
void ChoosePrintPosition(Print11State& state, int position);

// A size entry's arm position: entries with a position switch 1:1 printing on there,
// the others (the whole frame, the preset) switch it off and forget the position.
void ApplyArmPosition(Print11State& state, scan::ArmPosition arm);

print::PrintScale ScaleOf(const Print11State& state);

}  // namespace vestrel
