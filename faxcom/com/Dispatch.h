#pragma once
// The type description of a dual interface, built into the module: member names, dispatch
// ids, kinds (method, property get, property put) and parameter names, each member bound
// to its vtable slot. Invoke converts the DISPPARAMS (last argument first) to the slot's
// parameter types, calls through the object's own vtable, and writes out-values back
// through the by-reference arguments. A char* out buffer comes back as a BSTR.

#include "Bstr.h"
#include "Variant.h"
#include "comabi.h"

#include <cmath>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace vestrel::com {

enum class MemberKind { Method, PropertyGet, PropertyPut };

struct InvokeContext {
    const DISPPARAMS& params;
    VARIANT* result;
    UINT* argError;
};

using MemberCall = HRESULT (*)(void* interfacePointer, InvokeContext& context);

struct MemberDescription {
    const char* name;
    DISPID id;
    MemberKind kind;
    MemberCall call;
    std::vector<const char*> parameterNames;
};

struct InterfaceDescription {
    const char* name;
    const char* helpText;
    const IID* iid;
    std::vector<MemberDescription> members;
};

// The interface id that QueryInterface is asked for when an argument holds an interface.
template <typename Interface>
struct InterfaceIdOf;

namespace detail {

// An input argument converted from its VARIANT.
template <typename P>
struct Argument;

template <>
struct Argument<int32_t> {
    static constexpr bool out = false;
    int32_t value = 0;
    HRESULT Load(const VARIANT& v) { return ToInt32(v, value); }
    int32_t Get() { return value; }
};

template <>
struct Argument<double> {
    static constexpr bool out = false;
    double value = 0;
    HRESULT Load(const VARIANT& v) { return ToDouble(v, value); }
    double Get() { return value; }
};

template <>
struct Argument<const char*> {
    static constexpr bool out = false;
    std::string value;
    HRESULT Load(const VARIANT& v) { return ToUtf8(v, value); }
    const char* Get() { return value.c_str(); }
};

template <>
struct Argument<BSTR> {
    static constexpr bool out = false;
    BSTR value = nullptr;
    UniqueBstr converted;
    HRESULT Load(const VARIANT& arg)
    {
        const VARIANT& v = Dereferenced(arg);
        if (v.vt == VT_BSTR || v.vt == (VT_BYREF | VT_BSTR)) {
            value = v.vt == VT_BSTR ? v.u.bstrVal : *v.u.pbstrVal;
            return S_OK;
        }
        std::string text;
        const HRESULT hr = ToUtf8(v, text);
        if (SUCCEEDED(hr)) {
            converted.reset(BstrFromUtf8(text));
            value = converted.get();
        }
        return hr;
    }
    BSTR Get() { return value; }
};

// An interface argument: asked for the parameter's interface, released after the call.
template <typename Interface>
struct Argument<Interface*> {
    static constexpr bool out = false;
    Interface* value = nullptr;
    ~Argument()
    {
        if (value != nullptr)
            value->lpVtbl->Release(value);
    }
    HRESULT Load(const VARIANT& v)
    {
        IUnknown* unknown = nullptr;
        if (const HRESULT hr = ToUnknown(v, unknown); FAILED(hr))
            return hr;
        if (unknown == nullptr)
            return S_OK;
        void* asked = nullptr;
        if (FAILED(unknown->lpVtbl->QueryInterface(unknown, &InterfaceIdOf<Interface>::value, &asked)))
            return DISP_E_TYPEMISMATCH;
        value = static_cast<Interface*>(asked);
        return S_OK;
    }
    Interface* Get() { return value; }
};

// An out-value: the callee writes a local, which goes back through the caller's
// reference (or into the result of a property get). Only what the callee wrote goes back,
// so a method that leaves an output untouched leaves the caller's value as it was.
template <typename T>
struct OutValue {
    static constexpr bool out = true;
    T local{};
    T initial{};
    const VARIANT* target = nullptr;
    VARIANT* retval = nullptr;

    HRESULT Load(const VARIANT& v)
    {
        if ((v.vt & VT_BYREF) == 0 || v.u.byref == nullptr || !Accepts(static_cast<VARTYPE>(v.vt & ~VT_BYREF)))
            return DISP_E_TYPEMISMATCH;
        target = &v;
        local = initial = Sentinel();
        return S_OK;
    }
    void LoadRetval(VARIANT* result)
    {
        retval = result;
        local = initial = T{};
    }
    T* Get() { return &local; }
    bool Written() const { return std::memcmp(&local, &initial, sizeof(T)) != 0; }
    void Finish()
    {
        if (retval == nullptr && (target == nullptr || !Written()))
            return;
        VARIANT value = ValueOf(local);
        if (retval != nullptr)
            *retval = value;
        else
            StoreThrough(*target, value);
    }
    static T Sentinel();
    static VARIANT ValueOf(T value);
    // The referenced types the value can be stored into (besides a VARIANT).
    static bool Accepts(VARTYPE type);
};

template <>
inline int32_t OutValue<int32_t>::Sentinel() { return INT32_MIN; }
template <>
inline VARIANT OutValue<int32_t>::ValueOf(int32_t value) { return Int32Value(value); }
template <>
inline float OutValue<float>::Sentinel() { return std::nanf(""); }
template <>
inline VARIANT OutValue<float>::ValueOf(float value) { return FloatValue(value); }
template <>
inline double OutValue<double>::Sentinel() { return std::nan(""); }
template <>
inline VARIANT OutValue<double>::ValueOf(double value) { return DoubleValue(value); }
template <>
inline BSTR OutValue<BSTR>::Sentinel() { return nullptr; }
template <>
inline VARIANT OutValue<BSTR>::ValueOf(BSTR value) { return BstrValue(value); }

template <>
inline bool OutValue<int32_t>::Accepts(VARTYPE t) { return t == VT_VARIANT || t == VT_I4 || t == VT_R4 || t == VT_R8; }
template <>
inline bool OutValue<float>::Accepts(VARTYPE t) { return t == VT_VARIANT || t == VT_R4 || t == VT_R8; }
template <>
inline bool OutValue<double>::Accepts(VARTYPE t) { return t == VT_VARIANT || t == VT_R8; }
template <>
inline bool OutValue<BSTR>::Accepts(VARTYPE t) { return t == VT_VARIANT || t == VT_BSTR; }

template <>
struct Argument<int32_t*> : OutValue<int32_t> {};
template <>
struct Argument<float*> : OutValue<float> {};
template <>
struct Argument<double*> : OutValue<double> {};
template <>
struct Argument<BSTR*> : OutValue<BSTR> {};

// A char* out buffer (the vtable's fixed-width text), returned as a BSTR.
template <>
struct Argument<char*> {
    static constexpr bool out = true;
    static constexpr unsigned char kUntouched = 0xA5;
    char buffer[256];
    const VARIANT* target = nullptr;
    HRESULT Load(const VARIANT& v)
    {
        if (v.vt != (VT_BYREF | VT_BSTR) && v.vt != (VT_BYREF | VT_VARIANT))
            return DISP_E_TYPEMISMATCH;
        if (v.u.byref == nullptr)
            return DISP_E_TYPEMISMATCH;
        target = &v;
        std::memset(buffer, kUntouched, sizeof buffer);
        return S_OK;
    }
    void LoadRetval(VARIANT*) {}
    char* Get() { return buffer; }
    void Finish()
    {
        const void* end = std::memchr(buffer, '\0', sizeof buffer);
        if (target == nullptr || end == nullptr)
            return;  // untouched: the callee always ends its text
        VARIANT value = BstrValue(BstrFromUtf8(std::string_view(buffer, static_cast<const char*>(end) - buffer)));
        StoreThrough(*target, value);
    }
};

template <typename Tuple, std::size_t... I>
HRESULT LoadArguments(Tuple& args, InvokeContext& c, bool lastIsRetval, std::index_sequence<I...>)
{
    HRESULT hr = S_OK;
    constexpr std::size_t total = sizeof...(I);
    [[maybe_unused]] auto loadOne = [&](auto& arg, std::size_t index) {
        using Arg = std::decay_t<decltype(arg)>;
        if (FAILED(hr))
            return;
        if constexpr (Arg::out) {
            if (lastIsRetval && index + 1 == total) {
                arg.LoadRetval(c.result);
                return;
            }
        }
        const std::size_t position = c.params.cArgs - 1 - index;  // last argument first
        hr = arg.Load(c.params.rgvarg[position]);
        if (FAILED(hr) && c.argError != nullptr)
            *c.argError = static_cast<UINT>(position);
    };
    (loadOne(std::get<I>(args), I), ...);
    return hr;
}

template <auto Slot>
struct SlotInvoker;

template <typename Vtbl, typename Self, typename... P, HRESULT (*Vtbl::*Slot)(Self*, P...)>
struct SlotInvoker<Slot> {
    static HRESULT Call(void* interfacePointer, InvokeContext& c, bool lastIsRetval)
    {
        const std::size_t expected = sizeof...(P) - (lastIsRetval ? 1 : 0);
        if (c.params.cArgs != expected)
            return DISP_E_BADPARAMCOUNT;
        std::tuple<Argument<P>...> args;
        if (const HRESULT hr = LoadArguments(args, c, lastIsRetval, std::index_sequence_for<P...>{}); FAILED(hr))
            return hr;
        Self* self = static_cast<Self*>(interfacePointer);
        const HRESULT result =
            std::apply([&](auto&... arg) { return (self->lpVtbl->*Slot)(self, arg.Get()...); }, args);
        if (SUCCEEDED(result)) {
            std::apply(
                [](auto&... arg) {
                    [[maybe_unused]] auto finish = [](auto& one) {
                        if constexpr (std::decay_t<decltype(one)>::out)
                            one.Finish();
                    };
                    (finish(arg), ...);
                },
                args);
        }
        return result;
    }
    static HRESULT CallMethod(void* p, InvokeContext& c) { return Call(p, c, false); }
    static HRESULT CallGet(void* p, InvokeContext& c) { return Call(p, c, true); }
};

}  // namespace detail

template <auto Slot>
MemberDescription Method(const char* name, DISPID id, std::vector<const char*> parameterNames = {})
{
    return {name, id, MemberKind::Method, &detail::SlotInvoker<Slot>::CallMethod, std::move(parameterNames)};
}

template <auto Slot>
MemberDescription PropertyGet(const char* name, DISPID id)
{
    return {name, id, MemberKind::PropertyGet, &detail::SlotInvoker<Slot>::CallGet, {}};
}

template <auto Slot>
MemberDescription PropertyPut(const char* name, DISPID id, const char* parameterName = "newVal")
{
    return {name, id, MemberKind::PropertyPut, &detail::SlotInvoker<Slot>::CallMethod, {parameterName}};
}

}  // namespace vestrel::com
