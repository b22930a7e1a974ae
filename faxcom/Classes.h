#pragma once
// Creation of the component's three classes and their type descriptions. `outer` is the
// aggregating object or NULL; inside an aggregate the new object's own IUnknown is
// returned, whatever `iid` asks (the class factory lets only IUnknown through).

#include "ComObject.h"
#include "Dispatch.h"
#include "quendle.h"
#include "wimbrel.h"

namespace vestrel::com {
template <>
struct InterfaceIdOf<ISendTask> {
    static constexpr const IID& value = IID_ISendTask;
};
template <>
struct InterfaceIdOf<IResultTask> {
    static constexpr const IID& value = IID_IResultTask;
};
}  // namespace vestrel::com

namespace vestrel::faxcom {

using CreateFunction = HRESULT (*)(IUnknown* outer, const IID* iid, void** out);

HRESULT CreateFaxClientX(IUnknown* outer, const IID* iid, void** out);
HRESULT CreateSendTask(IUnknown* outer, const IID* iid, void** out);
HRESULT CreateResultTask(IUnknown* outer, const IID* iid, void** out);

const com::InterfaceDescription& TolvyClientXDescription();
const com::InterfaceDescription& SendTaskDescription();
const com::InterfaceDescription& ResultTaskDescription();

// Hands a newly made object (holding one reference) to the caller: its own IUnknown
// inside an aggregate, else the interface asked for.
HRESULT HandOver(com::ComObject* object, IUnknown* outer, const IID* iid, void** out);

}  // namespace vestrel::faxcom
