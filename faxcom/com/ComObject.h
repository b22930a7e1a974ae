#pragma once
// The C++ side of a component object. A client holds a pointer to an InterfaceHeader: the
// vtable pointer it calls through, followed by the object it belongs to. Each class
// implements one dual interface; QueryInterface for IUnknown, IDispatch or that interface
// gives the same pointer. When created inside an aggregate, the object's IUnknown slots
// forward to the outer object and the aggregate holds the object's own (non-delegating)
// IUnknown.

#include "comabi.h"

#include <atomic>
#include <new>

namespace vestrel::com {

class ComObject;
struct InterfaceDescription;

struct InterfaceHeader {
    const void* vtable;
    ComObject* object;
};

class ComObject {
public:
    ComObject(const void* vtable, const InterfaceDescription& description, IUnknown* outer);
    virtual ~ComObject();
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    static ComObject* From(const void* interfacePointer)
    {
        return static_cast<const InterfaceHeader*>(interfacePointer)->object;
    }
    void* Interface() { return &primary_; }
    IUnknown* OwnUnknown() { return reinterpret_cast<IUnknown*>(&own_); }

    // The interface's IUnknown slots: the outer object's when aggregated.
    HRESULT QueryInterface(const IID* iid, void** out);
    ULONG AddRef();
    ULONG Release();
    // The object's own identity.
    HRESULT OwnQueryInterface(const IID* iid, void** out);
    ULONG OwnAddRef();
    ULONG OwnRelease();

    HRESULT GetIDsOfNames(const IID* iid, OLECHAR_T** names, UINT count, DISPID* ids);
    HRESULT Invoke(DISPID id, const IID* iid, WORD flags, DISPPARAMS* params, VARIANT* result,
                   UINT* argError);

private:
    InterfaceHeader primary_;
    InterfaceHeader own_;
    IUnknown* outer_;
    std::atomic<ULONG> refs_{1};
    const InterfaceDescription& description_;
};

// Runs a slot's work so that no C++ exception reaches the caller, who may be C.
template <typename Work>
HRESULT NoThrow(Work work)
{
    try {
        return work();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

// The seven IUnknown and IDispatch slots for an interface type T, for its vtable.
template <typename T>
struct DispatchSlots {
    static HRESULT QueryInterface(T* self, const IID* iid, void** out)
    {
        return ComObject::From(self)->QueryInterface(iid, out);
    }
    static ULONG AddRef(T* self) { return ComObject::From(self)->AddRef(); }
    static ULONG Release(T* self) { return ComObject::From(self)->Release(); }
    static HRESULT GetTypeInfoCount(T*, UINT* count)
    {
        // The type description answers GetIDsOfNames and Invoke; no ITypeInfo is offered.
        if (count == nullptr)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    static HRESULT GetTypeInfo(T*, UINT, LCID, void** typeInfo)
    {
        if (typeInfo != nullptr)
            *typeInfo = nullptr;
        return DISP_E_BADINDEX;
    }
    static HRESULT GetIDsOfNames(T* self, const IID* iid, OLECHAR_T** names, UINT count, LCID, DISPID* ids)
    {
        return NoThrow([&] { return ComObject::From(self)->GetIDsOfNames(iid, names, count, ids); });
    }
    static HRESULT Invoke(T* self, DISPID id, const IID* iid, LCID, WORD flags, DISPPARAMS* params,
                          VARIANT* result, EXCEPINFO*, UINT* argError)
    {
        return NoThrow([&] { return ComObject::From(self)->Invoke(id, iid, flags, params, result, argError); });
    }
};

#define VESTREL_DISPATCH_SLOT_VALUES(T)                                                          \
    &::vestrel::com::DispatchSlots<T>::QueryInterface, &::vestrel::com::DispatchSlots<T>::AddRef, \
        &::vestrel::com::DispatchSlots<T>::Release, &::vestrel::com::DispatchSlots<T>::GetTypeInfoCount, \
        &::vestrel::com::DispatchSlots<T>::GetTypeInfo, &::vestrel::com::DispatchSlots<T>::GetIDsOfNames, \
        &::vestrel::com::DispatchSlots<T>::Invoke

}  // namespace vestrel::com
