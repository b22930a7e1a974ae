#pragma once
// A send result record of the fax library copied into an IResultTask object.

#include "quendle.h"
#include "wimbrel.h"

#include <string>

namespace vestrel::faxcom {

// "year-month-day hour:minute:second", no zero padding: 7 March 2024 09:05:00 reads
// "2024-3-7 9:5:0".
std::string FormatResultTime(const UTime& time);

// Through the target's own vtable: TaskId, StartTime, EndTime, SendTimes, NumOfPages,
// Result, BillingFee, in that order.
HRESULT CopyResultRecord(const ResultTask& record, IResultTask* target);

}  // namespace vestrel::faxcom
