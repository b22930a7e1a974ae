#include "Variant.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "Bstr.h"

namespace vestrel::com {
namespace {

HRESULT ParseNumber(const std::string& text, double& out)
{
    const char* begin = text.c_str();
    while (*begin == ' ' || *begin == '\t')
        ++begin;
    if (*begin == '\0')
        return DISP_E_TYPEMISMATCH;
    char* end = nullptr;
    errno = 0;
    out = std::strtod(begin, &end);
    while (end != nullptr && (*end == ' ' || *end == '\t'))
        ++end;
    if (end == nullptr || *end != '\0' || !std::isfinite(out))
        return DISP_E_TYPEMISMATCH;
    return errno == ERANGE ? DISP_E_OVERFLOW : S_OK;
}

std::string NumberText(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

}  // namespace

void InitVariant(VARIANT& v)
{
    v = VARIANT{};
}

void ClearVariant(VARIANT& v, SysFreeStringFn freeString)
{
    switch (v.vt) {
    case VT_BSTR: freeString(v.u.bstrVal); break;
    case VT_DISPATCH:
        if (v.u.pdispVal != nullptr)
            v.u.pdispVal->lpVtbl->Release(v.u.pdispVal);
        break;
    case VT_UNKNOWN:
        if (v.u.punkVal != nullptr)
            v.u.punkVal->lpVtbl->Release(v.u.punkVal);
        break;
    default: break;
    }
    InitVariant(v);
}

const VARIANT& Dereferenced(const VARIANT& v)
{
    if (v.vt == (VT_BYREF | VT_VARIANT) && v.u.pvarVal != nullptr)
        return *v.u.pvarVal;
    return v;
}

HRESULT ToDouble(const VARIANT& arg, double& out)
{
    const VARIANT& v = Dereferenced(arg);
    switch (v.vt) {
    case VT_EMPTY: out = 0; return S_OK;
    case VT_I4: out = v.u.lVal; return S_OK;
    case VT_R4: out = v.u.fltVal; return S_OK;
    case VT_R8: out = v.u.dblVal; return S_OK;
    case VT_BSTR: return ParseNumber(Utf8FromBstr(v.u.bstrVal), out);
    case VT_BYREF | VT_I4: out = *v.u.plVal; return S_OK;
    case VT_BYREF | VT_R4: out = *v.u.pfltVal; return S_OK;
    case VT_BYREF | VT_R8: out = *v.u.pdblVal; return S_OK;
    case VT_BYREF | VT_BSTR: return ParseNumber(Utf8FromBstr(*v.u.pbstrVal), out);
    default: return DISP_E_TYPEMISMATCH;
    }
}

HRESULT ToInt32(const VARIANT& arg, int32_t& out)
{
    const VARIANT& v = Dereferenced(arg);
    if (v.vt == VT_I4 || v.vt == (VT_BYREF | VT_I4)) {
        out = v.vt == VT_I4 ? v.u.lVal : *v.u.plVal;
        return S_OK;
    }
    double value = 0;
    if (const HRESULT hr = ToDouble(v, value); FAILED(hr))
        return hr;
    const double rounded = std::nearbyint(value);  // the default mode rounds half to even
    if (rounded < std::numeric_limits<int32_t>::min() || rounded > std::numeric_limits<int32_t>::max())
        return DISP_E_OVERFLOW;
    out = static_cast<int32_t>(rounded);
    return S_OK;
}

HRESULT ToUtf8(const VARIANT& arg, std::string& out)
{
    const VARIANT& v = Dereferenced(arg);
    switch (v.vt) {
    case VT_EMPTY: out.clear(); return S_OK;
    case VT_BSTR: out = Utf8FromBstr(v.u.bstrVal); return S_OK;
    case VT_BYREF | VT_BSTR: out = Utf8FromBstr(*v.u.pbstrVal); return S_OK;
    case VT_I4:
    case VT_BYREF | VT_I4: {
        int32_t value = 0;
        ToInt32(v, value);
        out = std::to_string(value);
        return S_OK;
    }
    case VT_R4:
    case VT_R8:
    case VT_BYREF | VT_R4:
    case VT_BYREF | VT_R8: {
        double value = 0;
        ToDouble(v, value);
        out = NumberText(value);
        return S_OK;
    }
    default: return DISP_E_TYPEMISMATCH;
    }
}

HRESULT ToUnknown(const VARIANT& arg, IUnknown*& out)
{
    const VARIANT& v = Dereferenced(arg);
    switch (v.vt) {
    case VT_EMPTY: out = nullptr; return S_OK;
    case VT_DISPATCH: out = reinterpret_cast<IUnknown*>(v.u.pdispVal); return S_OK;
    case VT_UNKNOWN: out = v.u.punkVal; return S_OK;
    case VT_BYREF | VT_DISPATCH: out = reinterpret_cast<IUnknown*>(*v.u.ppdispVal); return S_OK;
    case VT_BYREF | VT_UNKNOWN: out = *v.u.ppunkVal; return S_OK;
    default: return DISP_E_TYPEMISMATCH;
    }
}

HRESULT StoreThrough(const VARIANT& target, VARIANT& value)
{
    HRESULT hr = S_OK;
    if (target.vt == (VT_BYREF | VT_VARIANT) && target.u.pvarVal != nullptr) {
        ClearVariant(*target.u.pvarVal);
        *target.u.pvarVal = value;
        InitVariant(value);
        return S_OK;
    }
    if ((target.vt & VT_BYREF) == 0 || target.u.byref == nullptr) {
        ClearVariant(value);
        return DISP_E_TYPEMISMATCH;
    }
    switch (target.vt & ~VT_BYREF) {
    case VT_I4: hr = ToInt32(value, *target.u.plVal); break;
    case VT_R4: {
        double number = 0;
        hr = ToDouble(value, number);
        if (SUCCEEDED(hr))
            *target.u.pfltVal = static_cast<float>(number);
        break;
    }
    case VT_R8: hr = ToDouble(value, *target.u.pdblVal); break;
    case VT_BSTR:
        if (value.vt == VT_BSTR) {
            *target.u.pbstrVal = value.u.bstrVal;  // handed over
            InitVariant(value);
        } else {
            std::string text;
            hr = ToUtf8(value, text);
            if (SUCCEEDED(hr))
                *target.u.pbstrVal = BstrFromUtf8(text);
        }
        break;
    default: hr = DISP_E_TYPEMISMATCH; break;
    }
    ClearVariant(value);
    return hr;
}

VARIANT Int32Value(int32_t value)
{
    VARIANT v{};
    v.vt = VT_I4;
    v.u.lVal = value;
    return v;
}

VARIANT FloatValue(float value)
{
    VARIANT v{};
    v.vt = VT_R4;
    v.u.fltVal = value;
    return v;
}

VARIANT DoubleValue(double value)
{
    VARIANT v{};
    v.vt = VT_R8;
    v.u.dblVal = value;
    return v;
}

VARIANT BstrValue(BSTR value)
{
    VARIANT v{};
    v.vt = VT_BSTR;
    v.u.bstrVal = value;
    return v;
}

}  // namespace vestrel::com
