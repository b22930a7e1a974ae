#include "ClassFactory.h"

#include "Classes.h"
#include "Guid.h"
#include "ModuleCounts.h"

namespace vestrel::faxcom {

HRESULT HandOver(com::ComObject* object, IUnknown* outer, const IID* iid, void** out)
{
    if (object == nullptr)
        return E_OUTOFMEMORY;
    if (outer != nullptr) {
        *out = object->OwnUnknown();  // the aggregate keeps the one reference
        return S_OK;
    }
    const HRESULT hr = object->OwnQueryInterface(iid, out);
    object->OwnRelease();  // the creation reference: gone if QueryInterface failed
    return hr;
}

namespace {

struct Factory {
    IClassFactory header;
    const CLSID* clsid;
    CreateFunction create;
};

Factory& FactoryOf(IClassFactory* self)
{
    return *reinterpret_cast<Factory*>(self);
}

HRESULT FactoryQueryInterface(IClassFactory* self, const IID* iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (iid == nullptr)
        return E_INVALIDARG;
    if (!com::SameGuid(*iid, IID_IUnknown) && !com::SameGuid(*iid, IID_IClassFactory))
        return E_NOINTERFACE;
    self->lpVtbl->AddRef(self);
    *out = self;
    return S_OK;
}

// The factories are static; a reference handed out keeps the module loaded.
ULONG FactoryAddRef(IClassFactory*)
{
    com::ObjectCreated();
    return 2;
}

ULONG FactoryRelease(IClassFactory*)
{
    com::ObjectDestroyed();
    return 1;
}

HRESULT FactoryCreateInstance(IClassFactory* self, IUnknown* outer, const IID* iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (iid == nullptr)
        return E_INVALIDARG;
    // An aggregate must hold the object's own IUnknown; any other interface would leave
    // it without one.
    if (outer != nullptr && !com::SameGuid(*iid, IID_IUnknown))
        return CLASS_E_NOAGGREGATION;
    return FactoryOf(self).create(outer, iid, out);
}

HRESULT FactoryLockServer(IClassFactory*, int32_t lock)
{
    if (lock != 0)
        com::LockModule();
    else
        com::UnlockModule();
    return S_OK;
}

const IClassFactoryVtbl kFactoryVtbl = {&FactoryQueryInterface, &FactoryAddRef, &FactoryRelease,
                                        &FactoryCreateInstance, &FactoryLockServer};

Factory factories[] = {
    {{&kFactoryVtbl}, &CLSID_FaxClientX, &CreateFaxClientX},
    {{&kFactoryVtbl}, &CLSID_SendTask, &CreateSendTask},
    {{&kFactoryVtbl}, &CLSID_ResultTask, &CreateResultTask},
};

}  // namespace

HRESULT GetClassObject(const CLSID* clsid, const IID* iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (clsid == nullptr || iid == nullptr)
        return E_INVALIDARG;
    for (Factory& factory : factories) {
        if (com::SameGuid(*clsid, *factory.clsid))
            return FactoryQueryInterface(&factory.header, iid, out);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CanUnloadNow()
{
    return com::LiveObjects() == 0 && com::ModuleLocks() == 0 ? S_OK : S_FALSE;
}

}  // namespace vestrel::faxcom
