#include "Bstr.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

extern "C" {

BSTR SysAllocStringLen(const OLECHAR_T* text, UINT length)
{
    // The byte length must fit the uint32 prefix.
    if (length > (UINT32_MAX - sizeof(uint32_t) - sizeof(OLECHAR_T)) / sizeof(OLECHAR_T))
        return nullptr;
    const uint32_t bytes = length * static_cast<uint32_t>(sizeof(OLECHAR_T));
    auto* block = static_cast<unsigned char*>(std::malloc(sizeof(uint32_t) + bytes + sizeof(OLECHAR_T)));
    if (block == nullptr)
        return nullptr;
    std::memcpy(block, &bytes, sizeof bytes);
    auto* chars = reinterpret_cast<OLECHAR_T*>(block + sizeof(uint32_t));
    if (text != nullptr)
        std::memcpy(chars, text, bytes);
    else
        std::memset(chars, 0, bytes);
    chars[length] = u'\0';
    return chars;
}

BSTR SysAllocString(const OLECHAR_T* text)
{
    if (text == nullptr)
        return nullptr;
    UINT length = 0;
    while (text[length] != u'\0')
        ++length;
    return SysAllocStringLen(text, length);
}

void SysFreeString(BSTR text)
{
    if (text != nullptr)
        std::free(reinterpret_cast<unsigned char*>(text) - sizeof(uint32_t));
}

UINT SysStringLen(BSTR text)
{
    if (text == nullptr)
        return 0;
    uint32_t bytes = 0;
    std::memcpy(&bytes, reinterpret_cast<unsigned char*>(text) - sizeof(uint32_t), sizeof bytes);
    return bytes / static_cast<uint32_t>(sizeof(OLECHAR_T));
}

}  // extern "C"

namespace vestrel::com {
namespace {

// Converts with iconv; an input unit that does not convert becomes `replacement`.
std::string Recode(const char* to, const char* from, const char* data, std::size_t bytes,
                   std::size_t unit, std::string_view replacement)
{
    std::string out;
    iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return out;
    char* in = const_cast<char*>(data);
    std::size_t inLeft = bytes;
    std::string buffer(bytes * 2 + 16, '\0');
    while (inLeft > 0) {
        char* outAt = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t done = ::iconv(cd, &in, &inLeft, &outAt, &outLeft);
        out.append(buffer.data(), buffer.size() - outLeft);
        if (done != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG)
            continue;
        // EILSEQ or a truncated sequence at the end: replace one unit and go on.
        out.append(replacement);
        const std::size_t skip = std::min(unit, inLeft);
        in += skip;
        inLeft -= skip;
        ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    ::iconv_close(cd);
    return out;
}

}  // namespace

std::u16string Utf16FromUtf8(std::string_view utf8)
{
    static constexpr char kReplacement[] = {'\xFD', '\xFF'};
    const std::string bytes = Recode("UTF-16LE", "UTF-8", utf8.data(), utf8.size(), 1,
                                     std::string_view(kReplacement, 2));
    std::u16string out(bytes.size() / 2, u'\0');
    std::memcpy(out.data(), bytes.data(), out.size() * 2);
    return out;
}

std::string Utf8FromUtf16(std::u16string_view utf16)
{
    return Recode("UTF-8", "UTF-16LE", reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2, 2,
                  "\xEF\xBF\xBD");
}

BSTR BstrFromUtf16(std::u16string_view utf16)
{
    return SysAllocStringLen(utf16.data(), static_cast<UINT>(utf16.size()));
}

BSTR BstrFromUtf8(std::string_view utf8)
{
    return BstrFromUtf16(Utf16FromUtf8(utf8));
}

std::u16string_view ViewOf(BSTR text)
{
    return text == nullptr ? std::u16string_view{} : std::u16string_view(text, SysStringLen(text));
}

std::string Utf8FromBstr(BSTR text)
{
    return Utf8FromUtf16(ViewOf(text));
}

void BstrDeleter::operator()(OLECHAR_T* text) const
{
    SysFreeString(text);
}

}  // namespace vestrel::com
