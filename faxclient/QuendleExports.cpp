// The exported C interface of libquendle: parameter and handle checks, then the
// connection's work. Nothing here throws past the boundary.

#include <cstring>
#include <ctime>
#include <exception>

#include "ConnectionTable.h"
#include "JobBody.h"
#include "TextChecks.h"
#include "TextSlots.h"
#include "quendle.h"

using vestrel::fax::ConnectionTable;
using vestrel::fax::DestinationKind;
using vestrel::fax::FaxConnection;
using vestrel::fax::SendRequest;
using vestrel::fax::TextFits;

namespace {

// The call-information, IC receive, client download and text-to-speech operations are
// switched off in this system.
constexpr bool kOptionalServicesEnabled = false;

template <typename Work>
int guarded(Work work)
{
    try {
        return work();
    } catch (const std::exception&) {
        return QUENDLE_ERR_NOT_READY;
    }
}

FaxConnection* connectionFor(int handle)
{
    return ConnectionTable::instance().find(handle);
}

template <std::size_t NumberMax, typename Entry>
bool entriesFit(const Entry* list, int count)
{
    if (count < 0 || (count > 0 && list == nullptr))
        return false;
    for (int i = 0; i < count; ++i) {
        if (::strnlen(list[i].faxNumber, sizeof(list[i].faxNumber)) > NumberMax)
            return false;
    }
    return true;
}

bool phEntriesFit(const PHFaxEntry* list, int count)
{
    if (!entriesFit<27>(list, count))
        return false;
    for (int i = 0; i < count; ++i) {
        if (::strnlen(list[i].headerText1, sizeof(list[i].headerText1)) > 51 ||
            ::strnlen(list[i].headerText2, sizeof(list[i].headerText2)) > 51)
            return false;
    }
    return true;
}

// The job of the two simple sends: filled in from the clock, as the server expects it.
AdvancedJobInfo simpleJob()
{
    AdvancedJobInfo job{};
    vestrel::fax::FillSimpleSendJobInfo(job, std::time(nullptr));
    return job;
}

int send(int handle, const SendRequest& request)
{
    if (request.document == nullptr || request.jobNoOut == nullptr)
        return QUENDLE_ERR_PARAM;
    FaxConnection* connection = connectionFor(handle);
    if (connection == nullptr)
        return QUENDLE_ERR_PARAM;
    return guarded([&] { return connection->sendJob(request); });
}

int openConnection(int* handle, const char* host, int port, const char* account,
                   const char* subAccount, const char* password, int timeoutMs, int logFlag)
{
    int slot = -1;
    {
        ConnectionTable& table = ConnectionTable::instance();
        slot = table.acquire();
        if (slot < 0)
            return QUENDLE_ERR_LOCAL;
        // The handle is the caller's even when the open fails: closing it is always safe.
        *handle = slot;
    }
    FaxConnection* connection = connectionFor(slot);
    return guarded([&] {
        return connection->open(slot, host, port, account, subAccount, password, timeoutMs,
                                logFlag == 1);
    });
}

}  // namespace

extern "C" {

int OpenConnection(int* handle, const char* host, int port, const char* account,
                   const char* subAccount, const char* password)
{
    if (handle == nullptr || host == nullptr || !TextFits(account, 11) || !TextFits(subAccount, 4) ||
        !TextFits(password, 20))
        return QUENDLE_ERR_PARAM;
    return openConnection(handle, host, port, account, subAccount, password, 60000, 1);
}

int OpenConnectionEx(int* handle, const char* host, int port, const char* account,
                     const char* password, int timeoutMs, int logFlag)
{
    if (handle == nullptr || host == nullptr || !TextFits(account, 16) || !TextFits(password, 20))
        return QUENDLE_ERR_PARAM;
    return openConnection(handle, host, port, account, nullptr, password, timeoutMs, logFlag);
}

int SendFaxToServer(int handle, const char* document, int /*unused*/, const FaxNumberEntry* list,
                    int count, char jobNo[16])
{
    if (!entriesFit<27>(list, count))
        return QUENDLE_ERR_PARAM;
    return send(handle, {.document = document, .entries = list, .count = count, .job = simpleJob(),
                         .checkNumbers = true, .jobNoOut = jobNo});
}

int SendPHFaxToServer(int handle, const char* document, int jobKind, const PHFaxEntry* list,
                      int count, char jobNo[16])
{
    if (!phEntriesFit(list, count))
        return QUENDLE_ERR_PARAM;
    AdvancedJobInfo job = simpleJob();
    job.jobKind = jobKind;
    return send(handle, {.document = document, .kind = DestinationKind::PageHeader, .entries = list,
                         .count = count, .job = job, .jobNoOut = jobNo});
}

int SendFaxJobToServer(int handle, const char* document, const FaxNumberEntry* list, int count,
                       AdvancedJobInfo job, char jobNo[16])
{
    if (!entriesFit<27>(list, count))
        return QUENDLE_ERR_PARAM;
    return send(handle, {.document = document, .entries = list, .count = count, .job = job,
                         .checkNumbers = true, .checkBeforeInit = true, .jobNoOut = jobNo});
}

int SendPHFaxJobToServer(int handle, const char* document, const PHFaxEntry* list, int count,
                         AdvancedJobInfo job, char jobNo[16])
{
    if (!phEntriesFit(list, count))
        return QUENDLE_ERR_PARAM;
    return send(handle, {.document = document, .kind = DestinationKind::PageHeader, .entries = list,
                         .count = count, .job = job, .checkBeforeInit = true, .jobNoOut = jobNo});
}

int SendCustomFaxJobToServer(int handle, const char* document, const CustomFaxEntry* list,
                             int count, AdvancedJobInfo job, char jobNo[16])
{
    if (!entriesFit<27>(list, count))
        return QUENDLE_ERR_PARAM;
    return send(handle, {.document = document, .kind = DestinationKind::Custom, .entries = list,
                         .count = count, .job = job, .checkBeforeInit = true, .jobNoOut = jobNo});
}

int CancelSendJob(int handle, const char* jobNo)
{
    if (!TextFits(jobNo, 15))
        return QUENDLE_ERR_PARAM;
    FaxConnection* connection = connectionFor(handle);
    if (connection == nullptr)
        return QUENDLE_ERR_PARAM;
    if (connection->state() != vestrel::fax::kSlotLoggedIn)
        return QUENDLE_ERR_NOT_READY;
    try {
        return connection->cancelJob(jobNo);
    } catch (const std::exception&) {
        return 0;
    }
}

int QueryResultForNewTasks(int handle, int* count)
{
    FaxConnection* connection = connectionFor(handle);
    if (connection == nullptr || count == nullptr)
        return QUENDLE_ERR_PARAM;
    return guarded([&] { return connection->queryResults(nullptr, *count); });
}

int PickResultTask(int handle, ResultTask* result)
{
    FaxConnection* connection = connectionFor(handle);
    if (connection == nullptr || result == nullptr)
        return QUENDLE_ERR_PARAM;
    return connection->pickResult(*result);
}

int QueryResultTaskByJobNo(int handle, const char* jobNo, int* count)
{
    if (!TextFits(jobNo, 15) || count == nullptr)
        return QUENDLE_ERR_PARAM;
    FaxConnection* connection = connectionFor(handle);
    if (connection == nullptr)
        return QUENDLE_ERR_PARAM;
    return guarded([&] { return connection->queryResults(jobNo, *count); });
}

int QueryResultTaskByJobNoTaskId(int handle, const char* jobNo, int clientTaskId, ResultTask* result)
{
    if (!TextFits(jobNo, 15) || jobNo[0] == '\0' || result == nullptr)
        return QUENDLE_ERR_PARAM;
    FaxConnection* connection = connectionFor(handle);
    if (connection == nullptr)
        return QUENDLE_ERR_PARAM;
    return guarded([&] { return connection->queryResultByTaskId(jobNo, clientTaskId, *result); });
}

int QueryJobFinishByJobNo(int handle, const char* jobNo, int* finishState)
{
    if (!TextFits(jobNo, 15) || jobNo[0] == '\0' || finishState == nullptr)
        return QUENDLE_ERR_PARAM;
    FaxConnection* connection = connectionFor(handle);
    if (connection == nullptr)
        return QUENDLE_ERR_PARAM;
    return guarded([&] { return connection->queryJobFinish(jobNo, *finishState); });
}

int QueryResultForNewRecvTasks(int handle, int* count)
{
    FaxConnection* connection = connectionFor(handle);
    if (connection == nullptr || count == nullptr)
        return QUENDLE_ERR_PARAM;
    return guarded([&] { return connection->queryRecvTasks(*count); });
}

int PickResultRecvTask(int handle, RecvTask* task, const char* folder)
{
    FaxConnection* connection = connectionFor(handle);
    if (connection == nullptr || task == nullptr || folder == nullptr)
        return QUENDLE_ERR_PARAM;
    return guarded([&] { return connection->pickRecvTask(*task, folder); });
}

int QueryResultForNewICRecvTask(int /*handle*/, int /*kind*/, int* /*count*/)
{
    static_assert(!kOptionalServicesEnabled);
    return QUENDLE_ERR_PARAM;
}

int PickResultICRecvTask(int, void*, const char*) { return QUENDLE_ERR_PARAM; }
int FinishQueryForNewICRecvTask(int) { return QUENDLE_ERR_PARAM; }
int GetICUserSettingByCallInfo(int, char*, char*, char*) { return QUENDLE_ERR_PARAM; }
int GetICSubUserSettingByExt(int, char*, char*, char*) { return QUENDLE_ERR_PARAM; }
int QueryDownloadableNewClientFile(int, int*) { return QUENDLE_ERR_PARAM; }
int DownloadNewClientFile(int, const char*, int) { return QUENDLE_ERR_PARAM; }
int ConvertText2Wav(int, const char*, const char*) { return QUENDLE_ERR_PARAM; }

int CheckNewClientSoftware(int handle, const char* clientVersion, char serverText[120])
{
    if (!TextFits(clientVersion, 119) || serverText == nullptr)
        return QUENDLE_ERR_PARAM;
    FaxConnection* connection = connectionFor(handle);
    if (connection == nullptr)
        return QUENDLE_ERR_PARAM;
    try {
        return connection->checkClientVersion(clientVersion, serverText);
    } catch (const std::exception&) {
        return 0;
    }
}

int CloseConnection(int handle)
{
    FaxConnection* connection = connectionFor(handle);
    if (connection == nullptr)
        return QUENDLE_ERR_PARAM;
    connection->close();
    return QUENDLE_OK;
}

void MakeUTime(int32_t secondsSince1970, UTime* out)
{
    if (out != nullptr)
        *out = vestrel::fax::LocalUTime(static_cast<std::time_t>(secondsSince1970));
}

void InitAdvancedJobInfo(AdvancedJobInfo* job)
{
    if (job != nullptr)
        vestrel::fax::FillDefaultJobInfo(*job, std::time(nullptr));
}

int GetUserInfo(int handle, UserInfo* info)
{
    FaxConnection* connection = connectionFor(handle);
    if (connection == nullptr || info == nullptr)
        return QUENDLE_ERR_PARAM;
    return guarded([&] { return connection->getUserInfo(*info); });
}

int ModifyUserSetting(int handle, UserSetting setting)
{
    if (::strnlen(setting.stationId, sizeof(setting.stationId)) >= 100)
        return QUENDLE_ERR_PARAM;
    FaxConnection* connection = connectionFor(handle);
    if (connection == nullptr)
        return QUENDLE_ERR_PARAM;
    return guarded([&] { return connection->modifyUserSetting(setting); });
}

int ModifyPassword(int handle, const char* oldPassword, const char* newPassword)
{
    if (!TextFits(oldPassword, 20) || !TextFits(newPassword, 20))
        return QUENDLE_ERR_PARAM;
    FaxConnection* connection = connectionFor(handle);
    if (connection == nullptr)
        return QUENDLE_ERR_PARAM;
    return guarded([&] { return connection->modifyPassword(oldPassword, newPassword); });
}

QuendleProc quendle_proc_by_ordinal(int ordinal)
{
    // The ordinals other components bind by; they are part of the interface.
    static const QuendleProc kByOrdinal[31] = {
        nullptr,
        reinterpret_cast<QuendleProc>(&OpenConnection),                // 1
        reinterpret_cast<QuendleProc>(&OpenConnectionEx),              // 2
        reinterpret_cast<QuendleProc>(&SendFaxToServer),               // 3
        reinterpret_cast<QuendleProc>(&SendPHFaxToServer),             // 4
        reinterpret_cast<QuendleProc>(&SendFaxJobToServer),            // 5
        reinterpret_cast<QuendleProc>(&SendPHFaxJobToServer),          // 6
        reinterpret_cast<QuendleProc>(&SendCustomFaxJobToServer),      // 7
        reinterpret_cast<QuendleProc>(&CancelSendJob),                 // 8
        reinterpret_cast<QuendleProc>(&QueryResultForNewTasks),        // 9
        reinterpret_cast<QuendleProc>(&PickResultTask),                // 10
        reinterpret_cast<QuendleProc>(&QueryResultTaskByJobNo),        // 11
        reinterpret_cast<QuendleProc>(&QueryResultTaskByJobNoTaskId),  // 12
        reinterpret_cast<QuendleProc>(&QueryJobFinishByJobNo),         // 13
        reinterpret_cast<QuendleProc>(&QueryResultForNewRecvTasks),    // 14
        reinterpret_cast<QuendleProc>(&PickResultRecvTask),            // 15
        reinterpret_cast<QuendleProc>(&QueryResultForNewICRecvTask),   // 16
        reinterpret_cast<QuendleProc>(&PickResultICRecvTask),          // 17
        reinterpret_cast<QuendleProc>(&FinishQueryForNewICRecvTask),   // 18
        reinterpret_cast<QuendleProc>(&GetICUserSettingByCallInfo),    // 19
        reinterpret_cast<QuendleProc>(&GetICSubUserSettingByExt),      // 20
        reinterpret_cast<QuendleProc>(&CheckNewClientSoftware),        // 21
        reinterpret_cast<QuendleProc>(&QueryDownloadableNewClientFile),  // 22
        reinterpret_cast<QuendleProc>(&DownloadNewClientFile),         // 23
        reinterpret_cast<QuendleProc>(&CloseConnection),               // 24
        reinterpret_cast<QuendleProc>(&MakeUTime),                     // 25
        reinterpret_cast<QuendleProc>(&InitAdvancedJobInfo),           // 26
        reinterpret_cast<QuendleProc>(&GetUserInfo),                   // 27
        reinterpret_cast<QuendleProc>(&ModifyUserSetting),             // 28
        reinterpret_cast<QuendleProc>(&ModifyPassword),                // 29
        reinterpret_cast<QuendleProc>(&ConvertText2Wav),               // 30
    };
    if (ordinal < 1 || ordinal > 30)
        return nullptr;
    return kByOrdinal[ordinal];
}

}  // extern "C"
