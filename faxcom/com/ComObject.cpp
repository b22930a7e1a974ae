#include "ComObject.h"

#include "Bstr.h"
#include "Dispatch.h"
#include "Guid.h"
#include "ModuleCounts.h"

#include <strings.h>

namespace vestrel::com {
namespace {

HRESULT OwnQueryInterfaceSlot(IUnknown* self, const IID* iid, void** out)
{
    return ComObject::From(self)->OwnQueryInterface(iid, out);
}
ULONG OwnAddRefSlot(IUnknown* self) { return ComObject::From(self)->OwnAddRef(); }
ULONG OwnReleaseSlot(IUnknown* self) { return ComObject::From(self)->OwnRelease(); }

const IUnknownVtbl kOwnUnknownVtbl = {&OwnQueryInterfaceSlot, &OwnAddRefSlot, &OwnReleaseSlot};

bool SameName(const std::string& a, const char* b)
{
    return ::strcasecmp(a.c_str(), b) == 0;  // automation names ignore case
}

}  // namespace

ComObject::ComObject(const void* vtable, const InterfaceDescription& description, IUnknown* outer)
    : primary_{vtable, this}, own_{&kOwnUnknownVtbl, this}, outer_(outer), description_(description)
{
    ObjectCreated();
}

ComObject::~ComObject()
{
    ObjectDestroyed();
}

HRESULT ComObject::QueryInterface(const IID* iid, void** out)
{
    if (outer_ != nullptr)
        return outer_->lpVtbl->QueryInterface(outer_, iid, out);
    return OwnQueryInterface(iid, out);
}

ULONG ComObject::AddRef()
{
    return outer_ != nullptr ? outer_->lpVtbl->AddRef(outer_) : OwnAddRef();
}

ULONG ComObject::Release()
{
    return outer_ != nullptr ? outer_->lpVtbl->Release(outer_) : OwnRelease();
}

HRESULT ComObject::OwnQueryInterface(const IID* iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (iid == nullptr)
        return E_INVALIDARG;
    if (SameGuid(*iid, IID_IUnknown)) {
        // Inside an aggregate the object's own identity is its non-delegating IUnknown.
        *out = outer_ != nullptr ? OwnUnknown() : Interface();
    } else if (SameGuid(*iid, IID_IDispatch) || SameGuid(*iid, *description_.iid)) {
        *out = Interface();  // the dual interface answers for IDispatch
    } else {
        return E_NOINTERFACE;
    }
    // The reference goes to whoever answers for the pointer given out: inside an
    // aggregate the interface's AddRef is the outer object's.
    if (*out == OwnUnknown())
        OwnAddRef();
    else
        AddRef();
    return S_OK;
}

ULONG ComObject::OwnAddRef()
{
    return ++refs_;
}

ULONG ComObject::OwnRelease()
{
    const ULONG left = --refs_;
    if (left == 0)
        delete this;
    return left;
}

HRESULT ComObject::GetIDsOfNames(const IID* iid, OLECHAR_T** names, UINT count, DISPID* ids)
{
    if (iid != nullptr && !SameGuid(*iid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    if (count == 0)
        return S_OK;
    if (names == nullptr || ids == nullptr)
        return E_POINTER;
    for (UINT i = 0; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    const std::string memberName = Utf8FromUtf16(names[0] ? std::u16string_view(names[0]) : std::u16string_view());
    const MemberDescription* found = nullptr;
    for (const MemberDescription& member : description_.members) {
        if (!SameName(memberName, member.name))
            continue;
        // Parameter names are looked up on the member that has them (a method, or a put).
        if (found == nullptr || (found->parameterNames.empty() && !member.parameterNames.empty()))
            found = &member;
    }
    if (found == nullptr)
        return DISP_E_UNKNOWNNAME;
    ids[0] = found->id;
    HRESULT hr = S_OK;
    for (UINT i = 1; i < count; ++i) {
        const std::string parameter = Utf8FromUtf16(names[i] ? std::u16string_view(names[i]) : std::u16string_view());
        for (std::size_t p = 0; p < found->parameterNames.size(); ++p) {
            if (SameName(parameter, found->parameterNames[p]))
                ids[i] = static_cast<DISPID>(p);
        }
        if (ids[i] == DISPID_UNKNOWN)
            hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT ComObject::Invoke(DISPID id, const IID* iid, WORD flags, DISPPARAMS* params, VARIANT* result,
                          UINT* argError)
{
    if (iid != nullptr && !SameGuid(*iid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    const MemberDescription* method = nullptr;
    const MemberDescription* get = nullptr;
    const MemberDescription* put = nullptr;
    for (const MemberDescription& member : description_.members) {
        if (member.id != id)
            continue;
        switch (member.kind) {
        case MemberKind::Method: method = &member; break;
        case MemberKind::PropertyGet: get = &member; break;
        case MemberKind::PropertyPut: put = &member; break;
        }
    }
    const MemberDescription* chosen = nullptr;
    if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0)
        chosen = put;
    else if ((flags & DISPATCH_METHOD) != 0 && method != nullptr)
        chosen = method;
    else if ((flags & DISPATCH_PROPERTYGET) != 0)
        chosen = get;
    if (chosen == nullptr)
        return DISP_E_MEMBERNOTFOUND;

    static DISPPARAMS noArguments{nullptr, nullptr, 0, 0};
    const DISPPARAMS& arguments = params != nullptr ? *params : noArguments;
    if (arguments.cArgs > 0 && arguments.rgvarg == nullptr)
        return E_INVALIDARG;
    if (chosen->kind == MemberKind::PropertyPut) {
        // The new value is the one named argument DISPID_PROPERTYPUT.
        if (arguments.cNamedArgs > 1 ||
            (arguments.cNamedArgs == 1 && (arguments.rgdispidNamedArgs == nullptr ||
                                           arguments.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)))
            return DISP_E_NONAMEDARGS;
    } else if (arguments.cNamedArgs != 0) {
        return DISP_E_NONAMEDARGS;
    }
    if (result != nullptr)
        InitVariant(*result);
    InvokeContext context{arguments, result, argError};
    return chosen->call(Interface(), context);
}

}  // namespace vestrel::com
