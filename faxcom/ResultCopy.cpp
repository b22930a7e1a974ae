#include "ResultCopy.h"

#include "Bstr.h"

#include <cstdio>
#include <cstring>

namespace vestrel::faxcom {

std::string FormatResultTime(const UTime& t)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d-%d-%d %d:%d:%d", t.year, t.month, t.day, t.hour, t.minute, t.second);
    return text;
}

HRESULT CopyResultRecord(const ResultTask& record, IResultTask* target)
{
    if (target == nullptr)
        return E_POINTER;
    // The page count, the send attempts and the fee sit in the bytes the server fills.
    const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
    int32_t pages = 0;
    int32_t sendTimes = 0;
    double fee = 0;
    std::memcpy(&pages, bytes + 28, sizeof pages);
    std::memcpy(&sendTimes, bytes + 32, sizeof sendTimes);
    std::memcpy(&fee, bytes + 40, sizeof fee);

    const IResultTaskVtbl& v = *target->lpVtbl;
    v.put_TaskId(target, record.clientTaskId);
    com::UniqueBstr start(com::BstrFromUtf8(FormatResultTime(record.startTime)));
    v.put_StartTime(target, start.get());
    com::UniqueBstr end(com::BstrFromUtf8(FormatResultTime(record.endTime)));
    v.put_EndTime(target, end.get());
    v.put_SendTimes(target, sendTimes);
    v.put_NumOfPages(target, pages);
    v.put_Result(target, record.resultCode);
    v.put_BillingFee(target, fee);
    return S_OK;
}

}  // namespace vestrel::faxcom
