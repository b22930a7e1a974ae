#pragma once
// The undo/redo history of the document: up to 30 full copies of earlier images, held in
// memory only. Slots below the position are earlier states; after Back the slots from the
// position up are the later states Forward brings back.

#include "CxImage.h"

#include <array>
#include <memory>

namespace vestrel::document {

class ImageHistory {
public:
    static constexpr int kSlots = 30;

    // Records `current` before a change: drops the oldest state when all 30 are used, and
    // drops every later state. An invalid image is not recorded.
    void Push(const CxImage* current);
    // Swaps `current` with the state before it; false when there is none.
    bool Back(std::unique_ptr<CxImage>& current);
    // Swaps `current` with the state after it; false when there is none.
    bool Forward(std::unique_ptr<CxImage>& current);
    void Clear();

    int Position() const { return m_position; }
    bool CanBack() const { return m_position > 0; }
    bool CanForward() const { return m_position < kSlots && m_slots[m_position] != nullptr; }
    const CxImage* Slot(int index) const;

private:
    std::array<std::unique_ptr<CxImage>, kSlots> m_slots;
    int m_position = 0;
};

}  // namespace vestrel::document
