#include "ImageHistory.h"

#include <algorithm>

namespace vestrel::document {

void ImageHistory::Push(const CxImage* current)
{
    if (m_position >= kSlots) {
        std::rotate(m_slots.begin(), m_slots.begin() + 1, m_slots.end());
        m_slots[kSlots - 1].reset();
        m_position = kSlots - 1;
    }
    for (int i = m_position; i < kSlots; ++i) m_slots[i].reset();
    if (current && current->IsValid()) {
        // A full copy: pixels, selection, alpha and frames.
        m_slots[m_position] = std::make_unique<CxImage>(*current);
        ++m_position;
    }
}

bool ImageHistory::Back(std::unique_ptr<CxImage>& current)
{
    if (!current || !CanBack()) return false;
    --m_position;
    std::swap(current, m_slots[m_position]);
    return true;
}

bool ImageHistory::Forward(std::unique_ptr<CxImage>& current)
{
    if (!current || !CanForward()) return false;
    std::swap(current, m_slots[m_position]);
    ++m_position;
    return true;
}

void ImageHistory::Clear()
{
    for (auto& slot : m_slots) slot.reset();
    m_position = 0;
}

const CxImage* ImageHistory::Slot(int index) const
{
    return index >= 0 && index < kSlots ? m_slots[index].get() : nullptr;
}

}  // namespace vestrel::document
