#pragma once
// The undo/redo history of the document: up to 30 earlier states of the image, held in
// memory only and packed losslessly (PackedImage), within a byte budget. Slots below the
// position are earlier states; after Back the slots from the position up are the later
// states Forward brings back. When a step would take the history over its budget, the
// oldest states go first.
//
// Packing a camera page takes longer than a Back should, so a state enters the history as
// a plain copy and is packed on a worker thread; the copy is let go once its packed form
// is there. The worker only ever reads its own copy, which nothing changes.

#include "CxImage.h"
#include "PackedImage.h"

#include <array>
#include <cstddef>
#include <functional>
#include <future>
#include <memory>

namespace vestrel::document {

class ImageHistory {
public:
    static constexpr int kSlots = 30;
    // Room for 30 steps of pictures far larger than a camera page: 30 packed steps of a
    // 2592 x 1944 page under ordinary edits hold well under a third of it.
    static constexpr std::size_t kDefaultByteBudget = std::size_t(512) << 20;

    // How a state is packed; tests put a packer here that runs out of memory.
    using Packer = std::function<std::unique_ptr<PackedImage>(const CxImage&)>;

    explicit ImageHistory(std::size_t byteBudget = kDefaultByteBudget, Packer packer = {});
    ~ImageHistory();
    ImageHistory(ImageHistory&&) = default;
    ImageHistory& operator=(ImageHistory&&) = default;

    // Records `current` before a change: drops the oldest state when all 30 are used, and
    // drops every later state. An invalid image is not recorded (true: nothing to keep).
    // False, with the history as it was, when there is no memory to keep the state or the
    // one state alone is larger than the budget: the change should not go ahead then.
    bool Push(const CxImage* current);
    // Swaps `current` with the state before it; false when there is none, or (history and
    // picture unchanged) when the memory to swap them is not there.
    bool Back(std::unique_ptr<CxImage>& current);
    // Swaps `current` with the state after it; false as Back.
    bool Forward(std::unique_ptr<CxImage>& current);
    void Clear();

    int Position() const { return m_position; }
    bool CanBack() const { return m_position > 0; }
    bool CanForward() const { return m_position < kSlots && m_slots[m_position].Holds(); }
    // A state is kept at `index` (0 .. 29).
    bool HasState(int index) const;
    // Bytes all kept states hold (a state still being packed counts as its plain copy),
    // and the most they may hold.
    std::size_t HeldBytes() const;
    std::size_t ByteBudget() const { return m_byteBudget; }
    // Waits until every state is packed (benches and tests; the program never needs to).
    void FinishPacking();

private:
    struct Slot {
        std::shared_ptr<const CxImage> plain;          // until the packed form is there
        std::future<std::unique_ptr<PackedImage>> packing;
        std::unique_ptr<PackedImage> packed;
        bool Holds() const { return plain || packed; }
        std::size_t Bytes() const;
        // Takes the packed form when the worker is done (or, with wait, once it is).
        void Settle(bool wait);
        void Reset();
    };

    // A state as a slot: the plain picture, handed to a worker to pack.
    Slot Keep(std::shared_ptr<const CxImage> plain) const;
    // Swaps `current` with the state at `index`.
    bool SwapWith(int index, std::unique_ptr<CxImage>& current);
    // Drops the oldest states until the kept ones fit the budget; the state at `keep`
    // (counted before dropping) stays whatever it holds.
    void DropOldestOverBudget(int keep);
    void DropOldest();

    std::array<Slot, kSlots> m_slots;
    int m_position = 0;
    std::size_t m_byteBudget;
    Packer m_packer;
};

}  // namespace vestrel::document
