// The binary conventions clients depend on: BSTR layout, UTF-8 texts, VARIANT
// conversions and GUID text.

#include <gtest/gtest.h>

#include <cstring>

#include "Bstr.h"
#include "Guid.h"
#include "Variant.h"
#include "wimbrel.h"

namespace vestrel::com {
namespace {

TEST(Bstr, IsPrecededByItsByteLengthAndEndsWithNul)
{
    UniqueBstr text(SysAllocString(u"傳真 fax"));
    ASSERT_NE(text, nullptr);
    uint32_t bytes = 0;
    std::memcpy(&bytes, reinterpret_cast<const unsigned char*>(text.get()) - 4, 4);
    EXPECT_EQ(bytes, 6u * 2);
    EXPECT_EQ(SysStringLen(text.get()), 6u);
    EXPECT_EQ(text.get()[6], u'\0');

    // A length-given string may hold NULs; its length still counts them.
    UniqueBstr withNul(SysAllocStringLen(u"a\0b", 3));
    EXPECT_EQ(SysStringLen(withNul.get()), 3u);
    UniqueBstr blank(SysAllocStringLen(nullptr, 4));
    EXPECT_EQ(SysStringLen(blank.get()), 4u);
    EXPECT_EQ(std::u16string_view(blank.get(), 4), std::u16string_view(u"\0\0\0\0", 4));

    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    SysFreeString(nullptr);
}

TEST(Bstr, Utf8TextsRoundTripAndBadBytesBecomeReplacementCharacters)
{
    const std::string chinese = "宋体 \xF0\x9F\x93\xA0 fax";  // with a character outside the BMP
    UniqueBstr text(BstrFromUtf8(chinese));
    EXPECT_EQ(SysStringLen(text.get()), 9u) << "the fax symbol takes a surrogate pair";
    EXPECT_EQ(Utf8FromBstr(text.get()), chinese);
    EXPECT_EQ(Utf8FromBstr(nullptr), "");
    EXPECT_EQ(Utf16FromUtf8("a\xFF" "b"), u"a\uFFFDb");
    EXPECT_EQ(Utf8FromUtf16(u"x\xD800y"), "x\xEF\xBF\xBDy") << "a lone surrogate";
    UniqueBstr empty(BstrFromUtf8(""));
    ASSERT_NE(empty, nullptr) << "an empty text is a string, not NULL";
    EXPECT_EQ(SysStringLen(empty.get()), 0u);
}

TEST(Variant, NumbersConvertByAutomationRules)
{
    int32_t i = 0;
    EXPECT_EQ(ToInt32(DoubleValue(2.5), i), S_OK);
    EXPECT_EQ(i, 2) << "half rounds to even";
    EXPECT_EQ(ToInt32(DoubleValue(3.5), i), S_OK);
    EXPECT_EQ(i, 4);
    EXPECT_EQ(ToInt32(DoubleValue(3e10), i), DISP_E_OVERFLOW);

    VARIANT text = BstrValue(BstrFromUtf8(" 42 "));
    EXPECT_EQ(ToInt32(text, i), S_OK);
    EXPECT_EQ(i, 42);
    ClearVariant(text);
    text = BstrValue(BstrFromUtf8("forty-two"));
    EXPECT_EQ(ToInt32(text, i), DISP_E_TYPEMISMATCH);
    ClearVariant(text);
    text = BstrValue(BstrFromUtf8(""));
    EXPECT_EQ(ToInt32(text, i), DISP_E_TYPEMISMATCH);
    ClearVariant(text);
    EXPECT_EQ(text.vt, VT_EMPTY);

    // By reference, and through a referenced VARIANT.
    LONG held = 7;
    VARIANT ref{};
    ref.vt = VT_BYREF | VT_I4;
    ref.u.plVal = &held;
    EXPECT_EQ(ToInt32(ref, i), S_OK);
    EXPECT_EQ(i, 7);
    VARIANT inner = DoubleValue(1.25);
    VARIANT outer{};
    outer.vt = VT_BYREF | VT_VARIANT;
    outer.u.pvarVal = &inner;
    double d = 0;
    EXPECT_EQ(ToDouble(outer, d), S_OK);
    EXPECT_EQ(d, 1.25);
    std::string s;
    EXPECT_EQ(ToUtf8(outer, s), S_OK);
    EXPECT_EQ(s, "1.25");

    VARIANT unknownKind{};
    unknownKind.vt = 17;
    EXPECT_EQ(ToDouble(unknownKind, d), DISP_E_TYPEMISMATCH);
}

TEST(Variant, StoreThroughWritesTheReferencedLocation)
{
    float f = 0;
    VARIANT target{};
    target.vt = VT_BYREF | VT_R4;
    target.u.pfltVal = &f;
    VARIANT value = Int32Value(3);
    EXPECT_EQ(StoreThrough(target, value), S_OK);
    EXPECT_EQ(f, 3.0f);

    VARIANT held = BstrValue(BstrFromUtf8("old"));
    target.vt = VT_BYREF | VT_VARIANT;
    target.u.pvarVal = &held;
    value = BstrValue(BstrFromUtf8("new"));
    EXPECT_EQ(StoreThrough(target, value), S_OK);
    EXPECT_EQ(value.vt, VT_EMPTY) << "handed over";
    EXPECT_EQ(Utf8FromBstr(held.u.bstrVal), "new");
    ClearVariant(held);

    VARIANT byValue = Int32Value(1);
    value = Int32Value(2);
    EXPECT_EQ(StoreThrough(byValue, value), DISP_E_TYPEMISMATCH) << "an out-value needs a reference";
}

TEST(Guid, FormatsAndParsesTheRegistryForm)
{
    EXPECT_EQ(FormatGuid(IID_IDispatch), "{00020400-0000-0000-C000-000000000046}");
    EXPECT_EQ(FormatGuid(CLSID_FaxClientX), "{8A76BE4B-A23C-416A-B821-1986C207C9E1}");
    const auto parsed = ParseGuid("{8a76be4b-a23c-416a-b821-1986c207c9e1}");
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(SameGuid(*parsed, CLSID_FaxClientX));
    EXPECT_FALSE(ParseGuid("8A76BE4B-A23C-416A-B821-1986C207C9E1"));
    EXPECT_FALSE(ParseGuid("{8A76BE4B-A23C-416A-B821+1986C207C9E1}"));
    EXPECT_FALSE(ParseGuid("{8A76BE4B-A23C-416A-B821-1986C207C9EG}"));
}

}  // namespace
}  // namespace vestrel::com
