#pragma once
// One entry of the connection table: a TCP connection to the fax server that speaks the
// wire protocol, its log, its state and the queues that result pulls fill. Each public
// operation is one export's work after the export has checked its parameters and the
// handle; results are the exports' codes (quendle.h).

#include <cstdint>
#include <ctime>
#include <deque>
#include <span>
#include <string>
#include <string_view>

#include "LogFile.h"
#include "MessageBodies.h"
#include "TcpMessage.h"
#include "TcpTransport.h"
#include "quendle.h"

namespace vestrel::fax {

// Slot states.
inline constexpr int kSlotLoggedIn = 2;
inline constexpr int kSlotDropped = 1;
inline constexpr int kSlotFree = 3;
inline constexpr int kSlotReserved = 4;

// Guards against a server that never ends a pull or a download.
struct PullLimits {
    int maxBatches = 10000;
    std::size_t maxQueuedResults = 500000;    // 24 MB of ResultTask
    std::size_t maxQueuedRecvTasks = 40000;   // 11 MB of RecvTask
    std::uint64_t maxDownloadBytes = 256ull * 1024 * 1024;
};

// The three kinds of destination list.
enum class DestinationKind { Plain, PageHeader, Custom };

struct SendRequest {
    const char* document = nullptr;
    DestinationKind kind = DestinationKind::Plain;
    const void* entries = nullptr;
    int count = 0;
    AdvancedJobInfo job{};
    bool checkNumbers = false;         // fax numbers must be digits and '-'
    bool checkBeforeInit = false;      // numbers and file type checked before REQ_INITSEND_CLIJOB
    char* jobNoOut = nullptr;          // 16 bytes, written as soon as the job number is known
};

class FaxConnection {
public:
    FaxConnection() = default;
    FaxConnection(const FaxConnection&) = delete;
    FaxConnection& operator=(const FaxConnection&) = delete;

    int state() const { return state_; }
    void reserve() { state_ = kSlotReserved; }

    // Connect, handshake and log in. `subAccount` null means REQ_SERVER_AUTHEX.
    int open(int slot, const std::string& host, int port, const char* account,
             const char* subAccount, const char* password, int timeoutMs, bool log);
    // Closes socket and log, empties the queues and frees the slot.
    void close();

    int getUserInfo(UserInfo& info);
    int modifyUserSetting(const UserSetting& setting);
    int modifyPassword(const char* oldPassword, const char* newPassword);
    int sendJob(const SendRequest& request);
    int cancelJob(const char* jobNo);
    int queryResults(const char* jobNoOrNull, int& count);
    int pickResult(ResultTask& result);
    int queryResultByTaskId(const char* jobNo, int clientTaskId, ResultTask& result);
    int queryJobFinish(const char* jobNo, int& finishState);
    int queryRecvTasks(int& count);
    int pickRecvTask(RecvTask& task, const char* folder);
    int checkClientVersion(const char* version, char* text120);

    void setPullLimits(PullLimits limits) { limits_ = limits; }
    std::size_t queuedResults() const { return results_.size(); }
    std::size_t queuedRecvTasks() const { return recvTasks_.size(); }
    const std::string& logPath() const { return log_.path(); }

private:
    enum class PhysicalCheck { Ignore, RequireSendData, DropOnUnavailable };

    // One request and its reply, checked for transport errors and the physical type.
    bool ask(const char* name, LogicFields fields, std::span<const std::uint8_t> body,
             TcpMessage& reply, PhysicalCheck check);
    bool expectType(const char* name, const TcpMessage& reply, std::uint32_t type);
    // ask, then expectType: a reply of `replyType` arrived (anything else is logged).
    bool askFor(const char* name, LogicFields fields, std::span<const std::uint8_t> body,
                std::uint32_t replyType, PhysicalCheck check, TcpMessage& reply);
    // The reply's first word; a reply without one is logged as a wrong reply of `name`.
    bool wordOf(const char* name, const TcpMessage& reply, std::int32_t& word);
    template <typename T>
    static std::span<const std::uint8_t> bytesOf(const T& record)
    {
        return {reinterpret_cast<const std::uint8_t*>(&record), sizeof(T)};
    }
    void log(const std::string& text);
    void logf(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void drop();

    // Sending (FaxSendJob.cpp).
    bool initSendJob(std::string& jobNo);
    bool uploadFile(const std::string& localPath, const std::string& remoteName);
    int beginSendJob(const BeginSendJobBody& body);
    int sendDestinations(DestinationKind kind, const void* entries, int count);

    // Pulls and downloads (FaxResultPull.cpp).
    template <typename Record>
    int pull(std::uint32_t countRequest, std::span<const std::uint8_t> countBody, int& count);
    int download(const RecvTask& task, const std::string& folder);

    int state_ = kSlotFree;
    std::string host_;
    int port_ = 0;
    int timeoutSeconds_ = 60;
    bool logEnabled_ = false;
    LogFile log_;
    TcpTransport transport_;
    std::deque<ResultTask> results_;
    std::deque<RecvTask> recvTasks_;
    PullLimits limits_;
    // There is no FTP switch: files always travel as packets over this connection.
};

}  // namespace vestrel::fax
