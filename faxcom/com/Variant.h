#pragma once
// The VARIANT subset the component passes: empty, 32-bit integer, single and double,
// BSTR, IDispatch and IUnknown, each also by reference, and a reference to a VARIANT.
// Conversions follow automation's rules where they matter to callers: text converts to a
// number only when it is one, a double converts to an integer by rounding half to even.

#include "comabi.h"

#include <string>

namespace vestrel::com {

void InitVariant(VARIANT& v);
// Frees what the VARIANT owns (its BSTR through `freeString`, its interface by Release)
// and leaves it empty. References own nothing.
void ClearVariant(VARIANT& v, SysFreeStringFn freeString = &SysFreeString);

// The VARIANT behind a VT_BYREF | VT_VARIANT, or `v` itself.
const VARIANT& Dereferenced(const VARIANT& v);

// Conversions of an argument (by value or by reference); DISP_E_TYPEMISMATCH when the
// value has no such meaning, DISP_E_OVERFLOW when it does not fit.
HRESULT ToInt32(const VARIANT& v, int32_t& out);
HRESULT ToDouble(const VARIANT& v, double& out);
HRESULT ToUtf8(const VARIANT& v, std::string& out);
// An interface the argument holds (not AddRef'ed); NULL for an empty argument.
HRESULT ToUnknown(const VARIANT& v, IUnknown*& out);

// Stores `value` (a VARIANT by value that the call hands over) through the by-reference
// argument `target`: into the VARIANT it refers to, or converted into the typed location.
// The value is consumed in every case.
HRESULT StoreThrough(const VARIANT& target, VARIANT& value);

// Owned values for StoreThrough and results.
VARIANT Int32Value(int32_t value);
VARIANT FloatValue(float value);
VARIANT DoubleValue(double value);
VARIANT BstrValue(BSTR value);  // takes the BSTR over

}  // namespace vestrel::com
