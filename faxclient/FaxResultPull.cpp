// Pulling send results and received faxes into the queues, and fetching a received fax.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "ClientLogTexts.h"
#include "FaxConnection.h"
#include "MessageTypes.h"
#include "TextChecks.h"
#include "TextSlots.h"

namespace vestrel::fax {
namespace {

// The messages of one kind of pull.
template <typename Record>
struct PullProtocol;

template <>
struct PullProtocol<ResultTask> {
    static constexpr const char* countReplyName = "REQ_RESULT_NUMOFTASK_ACK";
    static constexpr const char* batchReplyName = "REQ_RESULT_TASK_ACK";
    static constexpr std::uint32_t countReply = REQ_RESULT_NUMOFTASK_ACK;
    static constexpr std::uint32_t batch = REQ_RESULT_TASK;
    static constexpr std::uint32_t batchReply = REQ_RESULT_TASK_ACK;
    static constexpr std::uint32_t end = REQ_END_SYNCALL;
    static constexpr std::uint32_t endReply = REQ_END_SYNCALL_ACK;
    static constexpr int perReply = MAXTASKSONEQUERY;
    static constexpr const char* pulledText = logtext::kResultsPulled;
    static void sanitize(ResultTask&) {}
};

template <>
struct PullProtocol<RecvTask> {
    static constexpr const char* countReplyName = "REQ_RECVTASK_NUMOFTASK_ACK";
    static constexpr const char* batchReplyName = "REQ_RESULT_RECVTASK_ACK";
    static constexpr std::uint32_t countReply = REQ_RECVTASK_NUMOFTASK_ACK;
    static constexpr std::uint32_t batch = REQ_RESULT_RECVTASK;
    static constexpr std::uint32_t batchReply = REQ_RESULT_RECVTASK_ACK;
    static constexpr std::uint32_t end = REQ_ENDRECVTASK_SYNCALL;
    static constexpr std::uint32_t endReply = REQ_ENDRECVTASK_SYNCALL_ACK;
    static constexpr int perReply = MAXRECVTASKSONEQUERY;
    static constexpr const char* pulledText = logtext::kRecvTasksPulled;
    // Kept as the server sent them: the download asks for the name exactly as given.
    static void sanitize(RecvTask&) {}
};

}  // namespace

template <typename Record>
int FaxConnection::pull(std::uint32_t countRequest, std::span<const std::uint8_t> countBody, int& count)
{
    using Protocol = PullProtocol<Record>;
    std::deque<Record>& queue = [this]() -> std::deque<Record>& {
        if constexpr (std::is_same_v<Record, ResultTask>)
            return results_;
        else
            return recvTasks_;
    }();
    const std::size_t maxQueued = std::is_same_v<Record, ResultTask> ? limits_.maxQueuedResults
                                                                     : limits_.maxQueuedRecvTasks;
    queue.clear();
    count = 0;
    const char* countName = countRequest == REQ_RESULT_SYNCALL     ? "REQ_RESULT_SYNCALL"
                            : countRequest == REQ_RESULTTASK_JOBNO ? "REQ_RESULTTASK_JOBNO"
                                                                   : "REQ_RECVTASK_SYNCALL";
    TcpMessage reply;
    if (!ask(countName, {countRequest, 1, SEG_WHOLE}, countBody, reply, PhysicalCheck::DropOnUnavailable))
        return QUENDLE_ERR_NOT_READY;
    std::int32_t announced = 0;
    if (reply.msgType != Protocol::countReply || !reply.firstWord(announced)) {
        logf(logtext::kCountWrongReply, Protocol::countReplyName);
        return QUENDLE_ERR_NOT_READY;
    }
    count = announced;
    if (announced < 1) {
        logf(logtext::kNothingWaiting, Protocol::countReplyName, announced);
        return QUENDLE_OK;
    }
    const char* batchName = Protocol::batch == REQ_RESULT_TASK ? "REQ_RESULT_TASK" : "REQ_RESULT_RECVTASK";
    for (int batch = 0;; ++batch) {
        if (batch >= limits_.maxBatches) {
            // A server that never marks its last batch does not keep us here forever.
            log(logtext::kTooManyInBatch);
            return QUENDLE_ERR_NOT_READY;
        }
        if (!ask(batchName, {Protocol::batch, 0, SEG_WHOLE}, {}, reply, PhysicalCheck::DropOnUnavailable))
            return QUENDLE_ERR_NOT_READY;
        if (reply.msgType != Protocol::batchReply) {
            log(logtext::kPullUnexpected);
            return QUENDLE_ERR_NOT_READY;
        }
        if (reply.body.size() % sizeof(Record) != 0) {
            logf(logtext::kIllegalBatch, Protocol::batchReplyName);
            return QUENDLE_ERR_NOT_READY;
        }
        const std::size_t records = reply.body.size() / sizeof(Record);
        if (records > static_cast<std::size_t>(Protocol::perReply) || queue.size() + records > maxQueued) {
            log(logtext::kTooManyInBatch);
            return QUENDLE_ERR_NOT_READY;
        }
        for (std::size_t i = 0; i < records; ++i) {
            Record record;
            std::memcpy(&record, reply.body.data() + i * sizeof(Record), sizeof(Record));
            Protocol::sanitize(record);
            queue.push_back(record);
        }
        if (reply.segPos == SEG_LAST)
            break;
    }
    const char* endName = Protocol::end == REQ_END_SYNCALL ? "REQ_END_SYNCALL" : "REQ_ENDRECVTASK_SYNCALL";
    if (!askFor(endName, {Protocol::end, 0, SEG_WHOLE}, {}, Protocol::endReply,
                PhysicalCheck::DropOnUnavailable, reply))
        return QUENDLE_ERR_NOT_READY;
    logf(Protocol::pulledText, static_cast<int>(queue.size()));
    return QUENDLE_OK;
}

int FaxConnection::queryResults(const char* jobNoOrNull, int& count)
{
    count = 0;
    if (state_ != kSlotLoggedIn)
        return QUENDLE_ERR_NOT_READY;
    if (jobNoOrNull == nullptr)
        return pull<ResultTask>(REQ_RESULT_SYNCALL, {}, count);
    JobNumberBody body;
    CopyToSlot(body.jobNo, jobNoOrNull);
    return pull<ResultTask>(REQ_RESULTTASK_JOBNO, bytesOf(body), count);
}

int FaxConnection::queryRecvTasks(int& count)
{
    count = 0;
    if (state_ != kSlotLoggedIn)
        return QUENDLE_ERR_NOT_READY;
    return pull<RecvTask>(REQ_RECVTASK_SYNCALL, {}, count);
}

int FaxConnection::pickResult(ResultTask& result)
{
    if (results_.empty())
        return QUENDLE_ERR_NOTHING;
    result = results_.front();
    results_.pop_front();
    return QUENDLE_OK;
}

int FaxConnection::pickRecvTask(RecvTask& task, const char* folder)
{
    if (recvTasks_.empty())
        return QUENDLE_ERR_NOTHING;
    const RecvTask received = recvTasks_.front();
    recvTasks_.pop_front();
    // The caller's copy can be read as C strings whatever the server put in the slots.
    task = received;
    TerminateSlot(task.callingNumber);
    TerminateSlot(task.remoteFileName);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (state_ != kSlotLoggedIn)
        return QUENDLE_ERR_NOT_READY;
    return download(received, folder);
}

int FaxConnection::download(const RecvTask& task, const std::string& folder)
{
    const std::string remoteName(SlotText(task.remoteFileName));
    const std::optional<std::string> fileName = ReceivedFaxFileName(remoteName);
    std::string base = folder;
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    if (!fileName) {
        logf(logtext::kLocalFileFailed, (base + "/" + remoteName).c_str());
        return QUENDLE_ERR_LOCAL;
    }
    const std::string localPath = base + "/" + *fileName;

    RecvMsgFileBody request;
    request.transferMode = 0;
    CopyToSlot(request.name, remoteName);
    TcpMessage reply;
    std::int32_t word = 0;
    if (!askFor("REQ_RECV_MSGFILE", {REQ_RECV_MSGFILE, 1, SEG_WHOLE}, bytesOf(request),
                REQ_RECV_MSGFILE_ACK, PhysicalCheck::DropOnUnavailable, reply) ||
        !reply.firstWord(word) || word != 1) {
        logf(logtext::kDownloadFailed, remoteName.c_str());
        return QUENDLE_ERR_NOT_READY;
    }
    // The fax is written beside its final name and renamed when complete, so a broken
    // download never leaves half a fax (nor destroys an earlier file of that name).
    const std::string partPath = base + "/." + *fileName + ".part";
    const int fd = ::open(partPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) {
        logf(logtext::kLocalFileFailed, localPath.c_str());
        return QUENDLE_ERR_LOCAL;
    }
    bool ok = true;
    bool localFailed = false;
    std::uint64_t total = 0;
    for (;;) {
        if (!askFor("REQ_RECV_MSGFILEPACKET", {REQ_RECV_MSGFILEPACKET, 1, SEG_WHOLE}, {},
                    REQ_RECV_MSGFILEPACKET_ACK, PhysicalCheck::DropOnUnavailable, reply)) {
            ok = false;
            break;
        }
        total += reply.body.size();
        if (total > limits_.maxDownloadBytes) {
            ok = false;
            break;
        }
        std::size_t written = 0;
        while (written < reply.body.size()) {
            const ssize_t n = ::write(fd, reply.body.data() + written, reply.body.size() - written);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            written += static_cast<std::size_t>(n);
        }
        if (written != reply.body.size()) {
            ok = false;
            localFailed = true;
            break;
        }
        if (reply.segPos == SEG_LAST || reply.segPos == SEG_WHOLE)
            break;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        localFailed = true;
    }
    if (ok && ::rename(partPath.c_str(), localPath.c_str()) != 0) {
        ok = false;
        localFailed = true;
    }
    if (!ok) {
        ::unlink(partPath.c_str());
        if (localFailed) {
            logf(logtext::kLocalFileFailed, localPath.c_str());
            return QUENDLE_ERR_LOCAL;
        }
        logf(logtext::kDownloadFailed, remoteName.c_str());
        return QUENDLE_ERR_NOT_READY;
    }
    RemoteFileNameBody removal;
    CopyToSlot(removal.name, "RecvFax\\" + std::string(AfterLastBackslash(remoteName)));
    if (ask("REQ_REMOVE_SPECIFICFILE", {REQ_REMOVE_SPECIFICFILE, 1, SEG_WHOLE}, bytesOf(removal), reply,
            PhysicalCheck::DropOnUnavailable))
        expectType("REQ_REMOVE_SPECIFICFILE", reply, REQ_REMOVE_SPECIFICFILE_ACK);
    logf(logtext::kDownloaded, localPath.c_str());
    return QUENDLE_OK;
}

}  // namespace vestrel::fax
