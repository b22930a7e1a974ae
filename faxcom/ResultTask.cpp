// ResultTask: one send result as plain read-write properties. The object keeps its own
// copies of the two texts and hands out new strings.

#include "Classes.h"

#include <new>
#include <string>

namespace vestrel::faxcom {
namespace {

using com::ComObject;

class ResultTaskObject : public ComObject {
public:
    explicit ResultTaskObject(IUnknown* outer);
    LONG taskId = 0;
    std::u16string startTime;
    std::u16string endTime;
    LONG numOfPages = 0;
    LONG sendTimes = 0;
    LONG result = 0;
    double billingFee = 0;
};

ResultTaskObject& Of(IResultTask* self)
{
    return *static_cast<ResultTaskObject*>(ComObject::From(self));
}

template <auto Field, typename T>
HRESULT Get(IResultTask* self, T* pVal)
{
    if (pVal == nullptr)
        return E_POINTER;
    *pVal = Of(self).*Field;
    return S_OK;
}

template <auto Field, typename T>
HRESULT Put(IResultTask* self, T newVal)
{
    Of(self).*Field = newVal;
    return S_OK;
}

template <auto Field>
HRESULT GetText(IResultTask* self, BSTR* pVal)
{
    if (pVal == nullptr)
        return E_POINTER;
    *pVal = com::BstrFromUtf16(Of(self).*Field);
    return *pVal != nullptr ? S_OK : E_OUTOFMEMORY;
}

template <auto Field>
HRESULT PutText(IResultTask* self, BSTR newVal)
{
    return com::NoThrow([&] {
        Of(self).*Field = std::u16string(com::ViewOf(newVal));
        return S_OK;
    });
}

using R = ResultTaskObject;

const IResultTaskVtbl kVtbl = {
    VESTREL_DISPATCH_SLOT_VALUES(IResultTask),
    &Get<&R::taskId, LONG>,
    &Put<&R::taskId, LONG>,
    &GetText<&R::startTime>,
    &PutText<&R::startTime>,
    &GetText<&R::endTime>,
    &PutText<&R::endTime>,
    &Get<&R::numOfPages, LONG>,
    &Put<&R::numOfPages, LONG>,
    &Get<&R::sendTimes, LONG>,
    &Put<&R::sendTimes, LONG>,
    &Get<&R::result, LONG>,
    &Put<&R::result, LONG>,
    &Get<&R::billingFee, double>,
    &Put<&R::billingFee, double>,
};

ResultTaskObject::ResultTaskObject(IUnknown* outer) : ComObject(&kVtbl, ResultTaskDescription(), outer) {}

}  // namespace

const com::InterfaceDescription& ResultTaskDescription()
{
    using com::PropertyGet;
    using com::PropertyPut;
    using V = IResultTaskVtbl;
    static const com::InterfaceDescription description{
        "IResultTask",
        "IResultTask Interface",
        &IID_IResultTask,
        {
            PropertyGet<&V::get_TaskId>("TaskId", 1),
            PropertyPut<&V::put_TaskId>("TaskId", 1),
            PropertyGet<&V::get_StartTime>("StartTime", 2),
            PropertyPut<&V::put_StartTime>("StartTime", 2),
            PropertyGet<&V::get_EndTime>("EndTime", 3),
            PropertyPut<&V::put_EndTime>("EndTime", 3),
            PropertyGet<&V::get_NumOfPages>("NumOfPages", 4),
            PropertyPut<&V::put_NumOfPages>("NumOfPages", 4),
            PropertyGet<&V::get_SendTimes>("SendTimes", 5),
            PropertyPut<&V::put_SendTimes>("SendTimes", 5),
            PropertyGet<&V::get_Result>("Result", 6),
            PropertyPut<&V::put_Result>("Result", 6),
            PropertyGet<&V::get_BillingFee>("BillingFee", 7),
            PropertyPut<&V::put_BillingFee>("BillingFee", 7),
        }};
    return description;
}

HRESULT CreateResultTask(IUnknown* outer, const IID* iid, void** out)
{
    return HandOver(new (std::nothrow) ResultTaskObject(outer), outer, iid, out);
}

}  // namespace vestrel::faxcom
