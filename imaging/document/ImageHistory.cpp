#include "ImageHistory.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace vestrel::document {
namespace {

std::size_t PlainBytes(const CxImage& image)
{
    return image.Pixels().total() * image.Pixels().elemSize() + image.AlphaMask().total() +
           image.SelectionMask().total() + image.GetPaletteSize();
}

}  // namespace

std::size_t ImageHistory::Slot::Bytes() const
{
    if (packed) return packed->HeldBytes();
    return plain ? PlainBytes(*plain) : 0;
}

void ImageHistory::Slot::Settle(bool wait)
{
    if (!packing.valid()) return;
    if (!wait && packing.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
    try {
        packed = packing.get();
    } catch (const std::exception&) {
        // Without the memory to pack, the plain copy stays: larger, but the state is kept.
        packed.reset();
    }
    if (packed) plain.reset();
}

void ImageHistory::Slot::Reset()
{
    // A worker still packing this state is waited for: it reads the plain copy.
    if (packing.valid()) packing.wait();
    packing = {};
    packed.reset();
    plain.reset();
}

ImageHistory::ImageHistory(std::size_t byteBudget, Packer packer)
    : m_byteBudget(byteBudget), m_packer(std::move(packer))
{
}

ImageHistory::~ImageHistory()
{
    Clear();
}

ImageHistory::Slot ImageHistory::Keep(std::shared_ptr<const CxImage> plain) const
{
    Slot slot;
    slot.plain = std::move(plain);
    Packer packer = m_packer;
    slot.packing = std::async(std::launch::async, [packer, picture = slot.plain] {
        return packer ? packer(*picture) : std::make_unique<PackedImage>(*picture);
    });
    return slot;
}

bool ImageHistory::Push(const CxImage* current)
{
    // The copy is made before anything is dropped: a state that cannot be kept leaves the
    // history as it was.
    Slot kept;
    if (current && current->IsValid()) {
        auto copy = std::make_shared<CxImage>();
        try {
            if (!copy->Copy(*current)) return false;
            kept = Keep(std::move(copy));
        } catch (const std::exception&) {
            return false;  // no memory, or no thread to pack on
        }
    }
    // A state that alone exceeds the budget cannot be held even once packed.
    if (kept.Holds()) {
        kept.Settle(kept.Bytes() > m_byteBudget);
        if (kept.Bytes() > m_byteBudget) return false;
    }
    if (m_position >= kSlots) {
        DropOldest();
        m_position = kSlots - 1;
    }
    for (int i = m_position; i < kSlots; ++i) m_slots[i].Reset();
    if (kept.Holds()) {
        m_slots[m_position] = std::move(kept);
        ++m_position;
        DropOldestOverBudget(m_position - 1);
    }
    return true;
}

bool ImageHistory::SwapWith(int index, std::unique_ptr<CxImage>& current)
{
    Slot& slot = m_slots[index];
    slot.Settle(false);
    std::unique_ptr<CxImage> restored;
    try {
        if (slot.packed) {
            restored = slot.packed->Unpack();
        } else {
            // Still being packed: its plain copy is read by the worker, so it is copied.
            restored = std::make_unique<CxImage>();
            if (!restored->Copy(*slot.plain)) return false;
        }
    } catch (const std::exception&) {
        return false;
    }
    // The picture leaving needs no copy: the history takes it over as it is.
    std::shared_ptr<CxImage> leaving;
    try {
        leaving = std::move(current);
    } catch (const std::exception&) {
        return false;  // the conversion leaves `current` as it was when it throws
    }
    Slot kept;
    try {
        kept = Keep(leaving);
    } catch (const std::exception&) {
        current = std::make_unique<CxImage>(std::move(*leaving));
        return false;
    }
    slot.Reset();
    slot = std::move(kept);
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

void ImageHistory::DropOldest()
{
    m_slots[0].Reset();
    std::rotate(m_slots.begin(), m_slots.begin() + 1, m_slots.end());
}

void ImageHistory::DropOldestOverBudget(int keep)
{
    for (auto& slot : m_slots) slot.Settle(false);
    if (HeldBytes() <= m_byteBudget) return;
    // Plain copies still being packed may be what takes the history over: their packed
    // forms are waited for before any state is given up.
    for (auto& slot : m_slots) slot.Settle(true);
    while (HeldBytes() > m_byteBudget && keep > 0) {
        DropOldest();
        --m_position;
        --keep;
    }
}

void ImageHistory::Clear()
{
    for (auto& slot : m_slots) slot.Reset();
    m_position = 0;
}

bool ImageHistory::HasState(int index) const
{
    return index >= 0 && index < kSlots && m_slots[index].Holds();
}

std::size_t ImageHistory::HeldBytes() const
{
    std::size_t bytes = 0;
    for (const auto& slot : m_slots) bytes += slot.Bytes();
    return bytes;
}

void ImageHistory::FinishPacking()
{
    for (auto& slot : m_slots) slot.Settle(true);
}

}  // namespace vestrel::document
