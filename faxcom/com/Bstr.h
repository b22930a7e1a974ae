#pragma once
// BSTR: UTF-16 text preceded by its uint32 byte length and ended by a NUL, allocated and
// freed only by the string functions of the module that made it. char* parameters are
// UTF-8; these helpers convert between the two.

#include "comabi.h"

#include <memory>
#include <string>
#include <string_view>

namespace vestrel::com {

// UTF-8 to UTF-16 and back; malformed input becomes U+FFFD.
std::u16string Utf16FromUtf8(std::string_view utf8);
std::string Utf8FromUtf16(std::u16string_view utf16);

// A new BSTR holding the text (empty text gives an empty string, never NULL).
BSTR BstrFromUtf8(std::string_view utf8);
BSTR BstrFromUtf16(std::u16string_view utf16);
// The text of a BSTR (NULL reads as empty).
std::u16string_view ViewOf(BSTR text);
std::string Utf8FromBstr(BSTR text);

// Frees a BSTR of this module when it goes out of scope.
struct BstrDeleter {
    void operator()(OLECHAR_T* text) const;
};
using UniqueBstr = std::unique_ptr<OLECHAR_T, BstrDeleter>;

}  // namespace vestrel::com
