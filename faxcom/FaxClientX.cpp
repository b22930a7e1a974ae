// FaxClientX: every method forwards to the fax library or a converter. The library's
// result goes to mResult unchanged and the HRESULT is S_OK or S_FALSE, so a client always
// reads mResult. Only a missing out-pointer gives E_POINTER.

#include "Classes.h"
#include "FaxLibraries.h"
#include "ResultCopy.h"

#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace vestrel::faxcom {
namespace {

using com::ComObject;

// The library's "parameter out of range" code, also given for a conversion whose
// connection is not the current one and for an empty task.
constexpr int kParameterError = QUENDLE_ERR_PARAM;
constexpr int kStationIdMax = 99;
constexpr int kOpenTimeoutMs = 60000;

const FaxLibraries& Lib()
{
    return *Libraries();  // FaxClientX objects exist only once the libraries are bound
}

HRESULT FromResult(int result)
{
    return result == 0 ? S_OK : S_FALSE;
}

HRESULT OpenConnection(TolvyClientX*, LONG* mCid, const char* mIpAddrOfServer, int32_t mTcpPortOfServer,
                       const char* mUserId, const char* mSubId, const char* mPassword, LONG /*mTraceFlag*/)
{
    if (mCid == nullptr)
        return E_POINTER;
    int handle = *mCid;  // the library writes the handle once it has taken a slot
    const int result = Lib().OpenConnection(&handle, mIpAddrOfServer, mTcpPortOfServer, mUserId, mSubId, mPassword);
    *mCid = handle;
    if (result == 0)
        SetCurrentConnection(handle);
    return FromResult(result);
}

HRESULT OpenConnectionEx(TolvyClientX*, LONG* mCid, const char* mIpAddrOfServer, int32_t mTcpPortOfServer,
                         const char* mUserIdEx, const char* mPassword, LONG mTraceFlag)
{
    if (mCid == nullptr)
        return E_POINTER;
    int handle = *mCid;
    const int result =
        Lib().OpenConnectionEx(&handle, mIpAddrOfServer, mTcpPortOfServer, mUserIdEx, mPassword, kOpenTimeoutMs, mTraceFlag);
    *mCid = handle;
    if (result == 0)
        SetCurrentConnection(handle);
    return FromResult(result);
}

// The two task lists differ only in their entry, accessors and library call.
struct PlainList {
    using Entry = FaxNumberEntry;
    static HRESULT Count(ISendTask* task, LONG* count) { return task->lpVtbl->get_Count(task, count); }
    static HRESULT Read(ISendTask* task, LONG index, Entry& entry)
    {
        return task->lpVtbl->GetCalled(task, index, entry.faxNumber, &entry.clientTaskId);
    }
    static void Clear(ISendTask* task) { task->lpVtbl->Clear(task); }
    static int Send(LONG cid, const char* file, const Entry* entries, int count, const AdvancedJobInfo& job, char* jobNo)
    {
        return Lib().SendFaxJobToServer(cid, file, entries, count, job, jobNo);
    }
};

struct PageHeaderList {
    using Entry = PHFaxEntry;
    static HRESULT Count(ISendTask* task, LONG* count) { return task->lpVtbl->get_PHCount(task, count); }
    static HRESULT Read(ISendTask* task, LONG index, Entry& entry)
    {
        return task->lpVtbl->GetPHCalled(task, index, entry.faxNumber, entry.headerText1, entry.headerText2,
                                         &entry.clientTaskId);
    }
    static void Clear(ISendTask* task) { task->lpVtbl->ClearPH(task); }
    static int Send(LONG cid, const char* file, const Entry* entries, int count, const AdvancedJobInfo& job, char* jobNo)
    {
        return Lib().SendPHFaxJobToServer(cid, file, entries, count, job, jobNo);
    }
};

template <typename List>
HRESULT SendTaskList(LONG mCid, const char* faxFileName, LONG priority, ISendTask* Task, BSTR* jobNo, int32_t* mResult)
{
    if (jobNo == nullptr || mResult == nullptr)
        return E_POINTER;
    LONG count = 0;
    if (Task == nullptr || FAILED(List::Count(Task, &count)) || count <= 0) {
        *mResult = kParameterError;  // nothing to send
        return S_FALSE;
    }
    std::vector<typename List::Entry> entries(static_cast<std::size_t>(count));
    for (LONG i = 0; i < count; ++i)
        List::Read(Task, i, entries[static_cast<std::size_t>(i)]);
    AdvancedJobInfo job;
    Lib().InitAdvancedJobInfo(&job);
    job.jobKind = priority;
    char number[17] = {};
    const int result = List::Send(mCid, faxFileName, entries.data(), count, job, number);
    List::Clear(Task);
    *jobNo = com::BstrFromUtf8(std::string_view(number, ::strnlen(number, 16)));
    *mResult = result;
    return FromResult(result);
}

HRESULT SendFaxToServer(TolvyClientX*, LONG mCid, const char* faxFileName, LONG priority, ISendTask* Task,
                        int32_t /*numOfTask*/, BSTR* jobNo, int32_t* mResult)
{
    return com::NoThrow([&] { return SendTaskList<PlainList>(mCid, faxFileName, priority, Task, jobNo, mResult); });
}

HRESULT SendPHFaxToServer(TolvyClientX*, LONG mCid, const char* faxFileName, LONG priority, ISendTask* Task,
                          int32_t /*numOfTask*/, BSTR* jobNo, int32_t* mResult)
{
    return com::NoThrow(
        [&] { return SendTaskList<PageHeaderList>(mCid, faxFileName, priority, Task, jobNo, mResult); });
}

HRESULT CancelSendJob(TolvyClientX*, LONG mCid, const char* mJobNo, int32_t* mResult)
{
    if (mResult == nullptr)
        return E_POINTER;
    *mResult = Lib().CancelSendJob(mCid, mJobNo);
    return FromResult(*mResult);  // S_OK only when nothing was cancelled
}

HRESULT QueryResultForNewTasks(TolvyClientX*, LONG mCid, LONG* numOfTasks, int32_t* mResult)
{
    if (numOfTasks == nullptr || mResult == nullptr)
        return E_POINTER;
    int count = *numOfTasks;
    *mResult = Lib().QueryResultForNewTasks(mCid, &count);
    *numOfTasks = count;
    return FromResult(*mResult);
}

HRESULT CloseConnection(TolvyClientX*, int32_t mCid, int32_t* mResult)
{
    if (mResult == nullptr)
        return E_POINTER;
    *mResult = Lib().CloseConnection(mCid);
    return FromResult(*mResult);
}

// Fetches one result record with `fetch` and, when the library found one, copies it
// into the caller's object.
template <typename Fetch>
HRESULT FetchResult(IResultTask* mResultTask, int32_t* mResult, Fetch fetch)
{
    if (mResultTask == nullptr || mResult == nullptr)
        return E_POINTER;
    ResultTask record{};
    *mResult = fetch(record);
    if (*mResult == 0)
        return com::NoThrow([&] {
            CopyResultRecord(record, mResultTask);
            return S_OK;
        });
    return S_FALSE;
}

HRESULT PickResultTask(TolvyClientX*, LONG mCid, IResultTask* mResultTask, int32_t* mResult)
{
    return FetchResult(mResultTask, mResult, [&](ResultTask& record) { return Lib().PickResultTask(mCid, &record); });
}

HRESULT QueryResultTaskByJobNoTaskId(TolvyClientX*, LONG mCid, const char* mJobNo, LONG mTaskId,
                                     IResultTask* mResultTask, int32_t* mResult)
{
    return FetchResult(mResultTask, mResult, [&](ResultTask& record) {
        return Lib().QueryResultTaskByJobNoTaskId(mCid, mJobNo, mTaskId, &record);
    });
}

HRESULT ConvertFileToTif(TolvyClientX*, LONG mCid, const char* mSrcFile, const char* mDestFile, int32_t* mResult)
{
    if (mResult == nullptr)
        return E_POINTER;
    if (mCid != CurrentConnection()) {
        *mResult = kParameterError;
        return S_FALSE;
    }
    *mResult = Lib().PrintDoc2TifFile(mSrcFile, mDestFile);
    return *mResult >= 1 ? S_OK : S_FALSE;
}

HRESULT ConvertText2Tif(TolvyClientX*, LONG mCid, const char* mSrcTextFile, const char* mDestTifFile, int32_t* mResult)
{
    if (mResult == nullptr)
        return E_POINTER;
    if (mCid != CurrentConnection()) {
        *mResult = kParameterError;
        return S_FALSE;
    }
    *mResult = Lib().Text2Tif(mSrcTextFile, mDestTifFile, 0);
    return *mResult == 1 ? S_OK : S_FALSE;
}

HRESULT ReadUserSetting(LONG mCid, int32_t* mFaxDetectTimeout, int32_t* mPromptLanguage, BSTR* mFaxSid,
                        float* mBalance, int32_t* mResult)
{
    if (mFaxDetectTimeout == nullptr || mPromptLanguage == nullptr || mFaxSid == nullptr || mBalance == nullptr ||
        mResult == nullptr)
        return E_POINTER;
    UserInfo info;
    std::memset(&info, 0, sizeof info);
    *mResult = Lib().GetUserInfo(mCid, &info);
    std::string stationId;
    if (*mResult == 0) {
        // The prompt-tone choice and the station id lie in bytes the record leaves to the server.
        const auto* bytes = reinterpret_cast<const char*>(&info);
        *mFaxDetectTimeout = info.faxToneSeconds;
        std::memcpy(mPromptLanguage, bytes + 240, sizeof(int32_t));
        stationId.assign(bytes + 136, ::strnlen(bytes + 136, 100));
        *mBalance = static_cast<float>(info.balance);
    }
    *mFaxSid = com::BstrFromUtf8(stationId);
    return FromResult(*mResult);
}

HRESULT GetUserSettting(TolvyClientX*, LONG mCid, int32_t* mFaxDetectTimeout, int32_t* mPromptLanguage,
                        BSTR* mFaxSid, float* mBalance, int32_t* mResult)
{
    return com::NoThrow(
        [&] { return ReadUserSetting(mCid, mFaxDetectTimeout, mPromptLanguage, mFaxSid, mBalance, mResult); });
}

HRESULT ModifyUserSetting(TolvyClientX*, LONG mCid, int32_t mFaxDetetectTimeout, int32_t mPromptLanguage,
                          const char* mFaxSid, int32_t* mResult)
{
    if (mResult == nullptr)
        return E_POINTER;
    const char* stationId = mFaxSid != nullptr ? mFaxSid : "";
    if (::strnlen(stationId, kStationIdMax + 1) > static_cast<std::size_t>(kStationIdMax)) {
        *mResult = kParameterError;  // would not fit the record's field
        return S_FALSE;
    }
    UserSetting setting;
    std::memset(&setting, 0, sizeof setting);
    setting.faxToneSeconds = mFaxDetetectTimeout;
    setting.promptTone = mPromptLanguage;
    std::memcpy(setting.stationId, stationId, std::strlen(stationId));
    *mResult = Lib().ModifyUserSetting(mCid, setting);
    return FromResult(*mResult);
}

const TolvyClientXVtbl kVtbl = {
    VESTREL_DISPATCH_SLOT_VALUES(TolvyClientX),
    &OpenConnection,
    &SendFaxToServer,
    &CancelSendJob,
    &QueryResultForNewTasks,
    &CloseConnection,
    &PickResultTask,
    &SendPHFaxToServer,
    &ConvertFileToTif,
    &OpenConnectionEx,
    &GetUserSettting,
    &ModifyUserSetting,
    &ConvertText2Tif,
    &QueryResultTaskByJobNoTaskId,
};

class FaxClientXObject : public ComObject {
public:
    explicit FaxClientXObject(IUnknown* outer) : ComObject(&kVtbl, TolvyClientXDescription(), outer) {}
};

}  // namespace

const com::InterfaceDescription& TolvyClientXDescription()
{
    using com::Method;
    using V = TolvyClientXVtbl;
    static const com::InterfaceDescription description{
        "TolvyClientX",
        "TolvyClientX Interface",
        &IID_TolvyClientX,
        {
            Method<&V::OpenConnection>("OpenConnection", 1,
                                       {"mCid", "mIpAddrOfServer", "mTcpPortOfServer", "mUserId", "mSubId",
                                        "mPassword", "mTraceFlag"}),
            Method<&V::SendFaxToServer>("SendFaxToServer", 2,
                                        {"mCid", "faxFileName", "priority", "Task", "numOfTask", "jobNo", "mResult"}),
            Method<&V::CancelSendJob>("CancelSendJob", 3, {"mCid", "mJobNo", "mResult"}),
            Method<&V::QueryResultForNewTasks>("QueryResultForNewTasks", 4, {"mCid", "numOfTasks", "mResult"}),
            Method<&V::CloseConnection>("CloseConnection", 5, {"mCid", "mResult"}),
            Method<&V::PickResultTask>("PickResultTask", 6, {"mCid", "mResultTask", "mResult"}),
            Method<&V::SendPHFaxToServer>("SendPHFaxToServer", 7,
                                          {"mCid", "faxFileName", "priority", "Task", "numOfTask", "jobNo", "mResult"}),
            Method<&V::ConvertFileToTif>("ConvertFileToTif", 8, {"mCid", "mSrcFile", "mDestFile", "mResult"}),
            Method<&V::OpenConnectionEx>("OpenConnectionEx", 9,
                                         {"mCid", "mIpAddrOfServer", "mTcpPortOfServer", "mUserIdEx", "mPassword",
                                          "mTraceFlag"}),
            Method<&V::GetUserSettting>("GetUserSettting", 10,
                                        {"mCid", "mFaxDetectTimeout", "mPromptLanguage", "mFaxSid", "mBalance",
                                         "mResult"}),
            Method<&V::ModifyUserSetting>("ModifyUserSetting", 11,
                                          {"mCid", "mFaxDetetectTimeout", "mPromptLanguage", "mFaxSid", "mResult"}),
            Method<&V::ConvertText2Tif>("ConvertText2Tif", 12, {"mCid", "mSrcTextFile", "mDestTifFile", "mResult"}),
            Method<&V::QueryResultTaskByJobNoTaskId>("QueryResultTaskByJobNoTaskId", 13,
                                                     {"mCid", "mJobNo", "mTaskId", "mResultTask", "mResult"}),
        }};
    return description;
}

HRESULT CreateFaxClientX(IUnknown* outer, const IID* iid, void** out)
{
    if (Libraries() == nullptr)
        return CLASS_E_CLASSNOTAVAILABLE;
    return HandOver(new (std::nothrow) FaxClientXObject(outer), outer, iid, out);
}

}  // namespace vestrel::faxcom
