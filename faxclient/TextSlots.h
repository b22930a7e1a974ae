#pragma once
// Texts in fixed-width slots: every copy into a slot is cut to fit and NUL-terminated inside
// it, and every read from a slot stops at the slot's end even when a peer left no NUL.

#include <cstddef>
#include <string>
#include <string_view>

namespace vestrel::fax {

// Copies `text` into slot[size], cut to size - 1 characters; the rest of the slot is zeroed.
void CopyToSlot(char* slot, std::size_t size, std::string_view text);
template <std::size_t N>
void CopyToSlot(char (&slot)[N], std::string_view text) { CopyToSlot(slot, N, text); }

// The text of a slot: up to its first NUL or its end.
std::string_view SlotText(const char* slot, std::size_t size);
template <std::size_t N>
std::string_view SlotText(const char (&slot)[N]) { return SlotText(slot, N); }

// Makes a slot received from a peer safe to read as a C string.
template <std::size_t N>
void TerminateSlot(char (&slot)[N]) { slot[N - 1] = '\0'; }

// strlen that looks at no more than limit + 1 bytes: "longer than limit" needs no more.
std::size_t BoundedLength(const char* text, std::size_t limit);

}  // namespace vestrel::fax
