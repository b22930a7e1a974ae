#include "PrintState.h"

namespace vestrel {

void ChoosePrintPosition(Print11State& state, int position)
{
    if (state.m_nPrintPos == position) {
        state.m_bPrint11 = state.m_bPrint11 ? 0 : 1;
        return;
    }
    state.m_bPrint11 = 1;
    state.m_nPrintPos = position;
}

void ApplyArmPosition(Print11State& state, scan::ArmPosition arm)
{
    switch (arm) {
    case scan::ArmPosition::Top: state = {1, print::kArmTop}; break;
    case scan::ArmPosition::Middle: state = {1, print::kArmMiddle}; break;
    case scan::ArmPosition::Bottom: state = {1, print::kArmBottom}; break;
    case scan::ArmPosition::None: state = {0, print::kArmNone}; break;
    }
}

print::PrintScale ScaleOf(const Print11State& state)
{
    return {state.m_bPrint11 != 0, state.m_nPrintPos};
}

}  // namespace vestrel
