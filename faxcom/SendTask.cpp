// SendTask: the destinations of one fax job, plain and with page-header texts, in the
// order they were added. Texts longer than their fixed fields are refused, never cut.

#include "Classes.h"

#include <cstring>
#include <new>
#include <vector>

namespace vestrel::faxcom {
namespace {

using com::ComObject;

class SendTaskObject : public ComObject {
public:
    explicit SendTaskObject(IUnknown* outer);
    std::vector<FaxNumberEntry> destinations;
    std::vector<PHFaxEntry> pageHeaderDestinations;
};

SendTaskObject& Of(ISendTask* self)
{
    return *static_cast<SendTaskObject*>(ComObject::From(self));
}

// Copies text into a fixed field of `size` bytes; false (nothing copied) when it does
// not fit with its terminator.
template <std::size_t Size>
bool CopyField(char (&field)[Size], const char* text)
{
    const char* source = text != nullptr ? text : "";
    const std::size_t length = ::strnlen(source, Size);
    if (length >= Size)
        return false;
    std::memset(field, 0, Size);
    std::memcpy(field, source, length);
    return true;
}

HRESULT AddCalled(ISendTask* self, const char* szCalled, LONG TaskId)
{
    FaxNumberEntry entry{};
    if (!CopyField(entry.faxNumber, szCalled))
        return S_FALSE;
    entry.clientTaskId = TaskId;
    return com::NoThrow([&] {
        Of(self).destinations.push_back(entry);
        return S_OK;
    });
}

HRESULT GetCalled(ISendTask* self, LONG Index, char* szCall, LONG* TaskId)
{
    const auto& list = Of(self).destinations;
    if (Index < 0 || static_cast<std::size_t>(Index) >= list.size())
        return S_FALSE;
    if (szCall == nullptr || TaskId == nullptr)
        return E_POINTER;
    const FaxNumberEntry& entry = list[static_cast<std::size_t>(Index)];
    std::memcpy(szCall, entry.faxNumber, sizeof entry.faxNumber);
    *TaskId = entry.clientTaskId;
    return S_OK;
}

HRESULT GetCount(ISendTask* self, LONG* pVal)
{
    if (pVal == nullptr)
        return E_POINTER;
    *pVal = static_cast<LONG>(Of(self).destinations.size());
    return S_OK;
}

HRESULT Clear(ISendTask* self)
{
    Of(self).destinations.clear();
    return S_OK;
}

HRESULT AddPHCalled(ISendTask* self, const char* szCalled, const char* szGuestName, const char* szGuestCompany,
                    LONG mTaskId)
{
    PHFaxEntry entry{};
    if (!CopyField(entry.faxNumber, szCalled) || !CopyField(entry.headerText1, szGuestName) ||
        !CopyField(entry.headerText2, szGuestCompany))
        return S_FALSE;
    entry.clientTaskId = mTaskId;
    return com::NoThrow([&] {
        Of(self).pageHeaderDestinations.push_back(entry);
        return S_OK;
    });
}

HRESULT GetPHCount(ISendTask* self, LONG* pVal)
{
    if (pVal == nullptr)
        return E_POINTER;
    *pVal = static_cast<LONG>(Of(self).pageHeaderDestinations.size());
    return S_OK;
}

HRESULT ClearPH(ISendTask* self)
{
    Of(self).pageHeaderDestinations.clear();
    return S_OK;
}

HRESULT GetPHCalled(ISendTask* self, LONG Index, char* szCalled, char* szGuestName, char* szGuestCompany,
                    LONG* mTaskId)
{
    const auto& list = Of(self).pageHeaderDestinations;
    if (Index < 0 || static_cast<std::size_t>(Index) >= list.size())
        return S_FALSE;
    if (szCalled == nullptr || szGuestName == nullptr || szGuestCompany == nullptr || mTaskId == nullptr)
        return E_POINTER;
    const PHFaxEntry& entry = list[static_cast<std::size_t>(Index)];
    std::memcpy(szCalled, entry.faxNumber, sizeof entry.faxNumber);
    std::memcpy(szGuestName, entry.headerText1, sizeof entry.headerText1);
    std::memcpy(szGuestCompany, entry.headerText2, sizeof entry.headerText2);
    *mTaskId = entry.clientTaskId;
    return S_OK;
}

const ISendTaskVtbl kVtbl = {
    VESTREL_DISPATCH_SLOT_VALUES(ISendTask),
    &AddCalled,
    &GetCalled,
    &GetCount,
    &Clear,
    &AddPHCalled,
    &GetPHCount,
    &ClearPH,
    &GetPHCount,  // CountPH reports the page-header count as get_PHCount does
    &GetPHCalled,
};

SendTaskObject::SendTaskObject(IUnknown* outer) : ComObject(&kVtbl, SendTaskDescription(), outer) {}

}  // namespace

const com::InterfaceDescription& SendTaskDescription()
{
    using com::Method;
    using V = ISendTaskVtbl;
    static const com::InterfaceDescription description{
        "ISendTask",
        "ISendTask Interface",
        &IID_ISendTask,
        {
            Method<&V::AddCalled>("AddCalled", 1, {"szCalled", "TaskId"}),
            Method<&V::GetCalled>("GetCalled", 2, {"Index", "szCall", "TaskId"}),
            com::PropertyGet<&V::get_Count>("Count", 3),
            Method<&V::Clear>("Clear", 4),
            Method<&V::AddPHCalled>("AddPHCalled", 5, {"szCalled", "szGuestName", "szGuestCompany", "mTaskId"}),
            Method<&V::get_PHCount>("get_PHCount", 6, {"pVal"}),
            Method<&V::ClearPH>("ClearPH", 7),
            Method<&V::CountPH>("CountPH", 8, {"pVal"}),
            Method<&V::GetPHCalled>("GetPHCalled", 9,
                                    {"Index", "szCalled", "szGuestName", "szGuestCompany", "mTaskId"}),
        }};
    return description;
}

HRESULT CreateSendTask(IUnknown* outer, const IID* iid, void** out)
{
    return HandOver(new (std::nothrow) SendTaskObject(outer), outer, iid, out);
}

}  // namespace vestrel::faxcom
