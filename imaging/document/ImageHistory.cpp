#include "ImageHistory.h"

#include <algorithm>
#include <exception>
#include <future>

namespace vestrel::document {

ImageHistory::ImageHistory(std::size_t byteBudget, Packer packer)
    : m_byteBudget(byteBudget), m_packer(std::move(packer))
{
}

std::unique_ptr<PackedImage> ImageHistory::Pack(const CxImage& image) const
{
    if (m_packer) return m_packer(image);
    return std::make_unique<PackedImage>(image);
}

bool ImageHistory::Push(const CxImage* current)
{
    // The state is packed before anything is dropped: a step that cannot be kept leaves
    // the history as it was.
    std::unique_ptr<PackedImage> packed;
    if (current && current->IsValid()) {
        try {
            packed = Pack(*current);
        } catch (const std::exception&) {
            return false;
        }
        if (!packed || packed->HeldBytes() > m_byteBudget) return false;
    }
    if (m_position >= kSlots) {
        std::rotate(m_slots.begin(), m_slots.begin() + 1, m_slots.end());
        m_slots[kSlots - 1].reset();
        m_position = kSlots - 1;
    }
    for (int i = m_position; i < kSlots; ++i) m_slots[i].reset();
    if (packed) {
        m_slots[m_position] = std::move(packed);
        ++m_position;
        DropOldestOverBudget(m_position - 1);
    }
    return true;
}

bool ImageHistory::SwapWith(int index, std::unique_ptr<CxImage>& current)
{
    // The picture leaving is packed on a second thread while the one coming back is
    // unpacked on this one; both must succeed before anything changes.
    std::unique_ptr<CxImage> restored;
    std::unique_ptr<PackedImage> leaving;
    try {
        auto packing = std::async(std::launch::async, [this, &current] { return Pack(*current); });
        std::exception_ptr unpackError;
        try {
            restored = m_slots[index]->Unpack();
        } catch (...) {
            unpackError = std::current_exception();
        }
        leaving = packing.get();
        if (unpackError) std::rethrow_exception(unpackError);
    } catch (const std::exception&) {
        return false;
    }
    if (!restored || !leaving) return false;
    m_slots[index] = std::move(leaving);
    current = std::move(restored);
    return true;
}

bool ImageHistory::Back(std::unique_ptr<CxImage>& current)
{
    if (!current || !current->IsValid() || !CanBack()) return false;
    if (!SwapWith(m_position - 1, current)) return false;
    --m_position;
    DropOldestOverBudget(m_position);
    return true;
}

bool ImageHistory::Forward(std::unique_ptr<CxImage>& current)
{
    if (!current || !current->IsValid() || !CanForward()) return false;
    if (!SwapWith(m_position, current)) return false;
    ++m_position;
    DropOldestOverBudget(m_position - 1);
    return true;
}

void ImageHistory::DropOldestOverBudget(int keep)
{
    while (HeldBytes() > m_byteBudget && keep > 0) {
        std::rotate(m_slots.begin(), m_slots.begin() + 1, m_slots.end());
        m_slots[kSlots - 1].reset();
        --m_position;
        --keep;
    }
}

void ImageHistory::Clear()
{
    for (auto& slot : m_slots) slot.reset();
    m_position = 0;
}

bool ImageHistory::HasState(int index) const
{
    return index >= 0 && index < kSlots && m_slots[index] != nullptr;
}

std::size_t ImageHistory::HeldBytes() const
{
    std::size_t bytes = 0;
    for (const auto& slot : m_slots)
        if (slot) bytes += slot->HeldBytes();
    return bytes;
}

}  // namespace vestrel::document
