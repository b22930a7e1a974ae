#pragma once
// Making the component's objects in tests through the class factories, and releasing
// them at the end of a scope.

#include <gtest/gtest.h>

#include "wimbrel.h"

namespace vestrel::faxcomtest {

// Holds one reference to an interface pointer.
template <typename T>
class Ref {
public:
    Ref() = default;
    explicit Ref(T* p) : p_(p) {}
    ~Ref() { reset(); }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    Ref(Ref&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
    Ref& operator=(Ref&& other) noexcept
    {
        if (this != &other) {
            reset();
            p_ = other.p_;
            other.p_ = nullptr;
        }
        return *this;
    }
    void reset()
    {
        if (p_ != nullptr)
            p_->lpVtbl->Release(p_);
        p_ = nullptr;
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    void** out() { return reinterpret_cast<void**>(&p_); }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

// The reference count after an AddRef/Release pair (what Release returns).
template <typename T>
ULONG RefCount(T* p)
{
    p->lpVtbl->AddRef(p);
    return p->lpVtbl->Release(p);
}

using GetClassObjectFunction = HRESULT (*)(const CLSID*, const IID*, void**);

template <typename T>
Ref<T> Create(GetClassObjectFunction getClassObject, const CLSID& clsid, const IID& iid)
{
    Ref<IClassFactory> factory;
    EXPECT_EQ(getClassObject(&clsid, &IID_IClassFactory, factory.out()), S_OK);
    Ref<T> object;
    if (factory) {
        EXPECT_EQ(factory->lpVtbl->CreateInstance(factory.get(), nullptr, &iid, object.out()), S_OK);
    }
    return object;
}

}  // namespace vestrel::faxcomtest
