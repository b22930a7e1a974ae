// The fake server's answers to every request of the catalogue, and its state.

#include <unistd.h>

#include <cstring>
#include <ctime>
#include <fstream>

#include "FakeFaxServer.h"
#include "FakeSession.h"
#include "MessageTypes.h"
#include "TextSlots.h"
#include "WireRecords.h"

namespace vestrel::fakefax {

using namespace vestrel::fax;

namespace {

template <typename T>
std::vector<std::uint8_t> bytesOf(const T& record)
{
    const auto* p = reinterpret_cast<const std::uint8_t*>(&record);
    return std::vector<std::uint8_t>(p, p + sizeof(T));
}

std::vector<std::uint8_t> word(std::int32_t value)
{
    return bytesOf(value);
}

std::string textFrom(const std::vector<std::uint8_t>& body, std::size_t offset, std::size_t size)
{
    if (body.size() <= offset)
        return {};
    size = std::min(size, body.size() - offset);
    return std::string(SlotText(reinterpret_cast<const char*>(body.data() + offset), size));
}

std::int32_t wordAt(const std::vector<std::uint8_t>& body, std::size_t offset)
{
    std::int32_t value = 0;
    if (body.size() >= offset + sizeof(value))
        std::memcpy(&value, body.data() + offset, sizeof(value));
    return value;
}

std::string afterLastBackslash(const std::string& name)
{
    const std::size_t cut = name.find_last_of('\\');
    return cut == std::string::npos ? name : name.substr(cut + 1);
}

ResultTask makeResult(std::int32_t clientTaskId, std::int32_t code)
{
    ResultTask result;
    std::memset(&result, 0, sizeof(result));
    result.clientTaskId = clientTaskId;
    MakeUTime(static_cast<std::int32_t>(std::time(nullptr)), &result.startTime);
    result.endTime = result.startTime;
    result.resultCode = code;
    return result;
}

std::size_t entrySizeOf(std::uint32_t type)
{
    switch (type) {
    case REQ_SEND_CLIPHTASK: return sizeof(PHFaxEntry);
    case REQ_SEND_CLICUSTOMTASK: return sizeof(CustomFaxEntry);
    default: return sizeof(FaxNumberEntry);
    }
}

std::int32_t clientTaskIdOf(std::uint32_t type, const std::vector<std::uint8_t>& entry)
{
    switch (type) {
    case REQ_SEND_CLITASK: return wordAt(entry, 28);
    case REQ_SEND_CLIPHTASK: return wordAt(entry, 132);
    default: return 0;
    }
}

}  // namespace

void FakeFaxServer::finishJob(FakeJob& job)
{
    Account& account = accounts_[job.account];
    for (std::int32_t id : job.pendingTaskIds) {
        const ResultTask result = makeResult(id, 0);
        account.results.emplace_back(job.jobNo, result);
        account.history.emplace_back(job.jobNo, result);
    }
    job.pendingTaskIds.clear();
}

void FakeFaxServer::handle(Session& s, std::uint32_t type, std::uint8_t flag, std::uint8_t segPos,
                           const std::vector<std::uint8_t>& body)
{
    {
        std::lock_guard lock(mutex_);
        SeenFrame seen{s.number, type, flag, segPos, {}};
        if (recordBodies_ || type != REQ_SEND_MSGFILEPACKET)
            seen.body = body;
        frames_.push_back(std::move(seen));
    }
    FaultRule hit{};
    s.fault.reset();
    if (takeFault(type, false, hit))
        s.fault = hit;
    auto faulted = [&](Fault f) { return s.fault && s.fault->fault == f; };

    std::uint32_t replyType = type + 1;
    std::uint8_t replySeg = SEG_WHOLE;
    std::vector<std::uint8_t> out;
    {
        std::lock_guard lock(mutex_);
        switch (type) {
        case REQ_SERVER_AUTH:
        case REQ_SERVER_AUTHEX: {
            const bool extended = type == REQ_SERVER_AUTHEX;
            const std::string account = textFrom(body, 0, extended ? 17 : 12);
            const std::string sub = extended ? std::string() : textFrom(body, 12, 5);
            const std::string password = textFrom(body, 17, 21);
            auto found = accounts_.find(account);
            std::int32_t answer = 0;
            if (found == accounts_.end() || found->second.password != password ||
                (!extended && found->second.subAccount != sub))
                answer = 1;
            else if (found->second.liveConnections > 0)
                answer = -2;
            if (faulted(Fault::RefuseLogin))
                answer = 1;
            if (faulted(Fault::LoginAlreadyLive))
                answer = -2;
            if (answer == 0) {
                ++found->second.liveConnections;
                s.account = account;
                s.loggedIn = true;
            }
            out = word(answer);
            break;
        }
        case REQ_GET_USERINFO: {
            UserInfo info;
            std::memset(&info, 0, sizeof(info));
            const Account& account = accounts_[s.account];
            CopyToSlot(info.account, s.account);
            CopyToSlot(info.subAccount, account.subAccount);
            CopyToSlot(info.areaCode, "010");
            info.faxToneSeconds = account.setting.faxToneSeconds;
            // The station id (at 136) and the prompt-tone choice (at 240) of the settings.
            std::memcpy(reinterpret_cast<char*>(&info) + 136, account.setting.stationId,
                        sizeof(account.setting.stationId));
            std::memcpy(reinterpret_cast<char*>(&info) + 240, &account.setting.promptTone, sizeof(std::int32_t));
            CopyToSlot(info.userName, "Test User " + s.account);
            info.balance = 123.5;
            out = bytesOf(info);
            break;
        }
        case REQ_MODIFY_USERSETTING: {
            const bool ok = body.size() == sizeof(UserSetting) && !faulted(Fault::RefuseChange);
            if (ok)
                std::memcpy(&accounts_[s.account].setting, body.data(), sizeof(UserSetting));
            out = word(ok ? 1 : 0);
            break;
        }
        case REQ_MODIFY_PASSWORD: {
            Account& account = accounts_[s.account];
            const bool ok = textFrom(body, 0, 21) == account.password && !faulted(Fault::RefuseChange);
            if (ok)
                account.password = textFrom(body, 21, 21);
            out = word(ok ? 1 : 0);
            break;
        }
        case REQ_INITSEND_CLIJOB: {
            FakeJob job;
            char number[16];
            std::snprintf(number, sizeof(number), "J%08d", nextJob_++);
            job.jobNo = number;
            job.account = s.account;
            s.jobNo = job.jobNo;
            jobs_.push_back(job);
            JobNumberBody reply;
            CopyToSlot(reply.jobNo, job.jobNo);
            out = bytesOf(reply);
            break;
        }
        case REQ_SEND_MSGFILE:
            s.uploadName = textFrom(body, 0, 120);
            s.upload.clear();
            out = word(0);
            break;
        case REQ_SEND_MSGFILEPACKET:
            s.upload.insert(s.upload.end(), body.begin(), body.end());
            if (segPos == SEG_LAST) {
                if (!spoolFolder_.empty()) {
                    std::string name = s.uploadName;
                    for (char& c : name)
                        if (c == '\\' || c == '/')
                            c = '_';
                    std::ofstream(spoolFolder_ / name, std::ios::binary)
                        .write(reinterpret_cast<const char*>(s.upload.data()),
                               static_cast<std::streamsize>(s.upload.size()));
                }
                files_[s.uploadName] = std::move(s.upload);
                s.upload.clear();
            }
            out = word(0);
            break;
        case REQ_BEGINSEND_CLIJOB: {
            const std::string jobNo = textFrom(body, 0, 16);
            for (FakeJob& job : jobs_)
                if (job.jobNo == jobNo)
                    job.jobBody = body;
            s.jobNo = jobNo;
            out = word(faulted(Fault::RenderFailure) ? 1 : 0);
            break;
        }
        case REQ_SEND_CLITASK:
        case REQ_SEND_CLIPHTASK:
        case REQ_SEND_CLICUSTOMTASK: {
            const std::uint32_t ack = type == REQ_SEND_CLITASK     ? REQ_SEND_CLITASK_ACK
                                      : type == REQ_SEND_CLIPHTASK ? REQ_SEND_CLIPHTASK_ACK
                                                                   : REQ_SEND_CLICUSTOMTASK_ACK;
            const std::uint32_t nak = type == REQ_SEND_CLITASK     ? REQ_SEND_CLITASK_NAK
                                      : type == REQ_SEND_CLIPHTASK ? REQ_SEND_CLIPHTASK_NAK
                                                                   : REQ_SEND_CLICUSTOMTASK_NAK;
            FakeJob* job = nullptr;
            for (FakeJob& candidate : jobs_)
                if (candidate.jobNo == s.jobNo)
                    job = &candidate;
            if (faulted(Fault::Nak) || job == nullptr) {
                replyType = nak;
                break;
            }
            job->destinationType = type;
            const std::size_t size = entrySizeOf(type);
            for (std::size_t at = 0; at + size <= body.size(); at += size) {
                std::vector<std::uint8_t> entry(body.begin() + static_cast<std::ptrdiff_t>(at),
                                                body.begin() + static_cast<std::ptrdiff_t>(at + size));
                job->pendingTaskIds.push_back(clientTaskIdOf(type, entry));
                job->destinations.push_back(std::move(entry));
            }
            const bool last = segPos == SEG_LAST || segPos == SEG_WHOLE;
            replyType = last ? ack + 1 : ack;  // the end code follows the ack code
            if (last) {
                job->complete = true;
                if (!holdResults_)
                    finishJob(*job);
            }
            break;
        }
        case REQ_CANCEL_JOB: {
            const std::string jobNo = textFrom(body, 0, 16);
            std::int32_t cancelled = 0;
            for (FakeJob& job : jobs_) {
                if (job.jobNo == jobNo && job.account == s.account) {
                    cancelled += static_cast<std::int32_t>(job.pendingTaskIds.size());
                    job.pendingTaskIds.clear();
                }
            }
            out = word(cancelled);
            break;
        }
        case REQ_RESULT_SYNCALL:
        case REQ_RESULTTASK_JOBNO: {
            Account& account = accounts_[s.account];
            s.pullResults.clear();
            s.pullPos = 0;
            const std::string jobNo = type == REQ_RESULTTASK_JOBNO ? textFrom(body, 0, 16) : "";
            std::vector<std::pair<std::string, ResultTask>> keep;
            for (auto& entry : account.results)
                (jobNo.empty() || entry.first == jobNo ? s.pullResults : keep).push_back(entry);
            account.results = std::move(keep);
            replyType = REQ_RESULT_NUMOFTASK_ACK;
            out = word(static_cast<std::int32_t>(s.pullResults.size()));
            break;
        }
        case REQ_RESULT_TASK: {
            const std::size_t limit = faulted(Fault::TooManyRecords) ? MAXTASKSONEQUERY + 1 : MAXTASKSONEQUERY;
            for (std::size_t n = 0; n < limit && s.pullPos < s.pullResults.size(); ++n, ++s.pullPos) {
                const auto bytes = bytesOf(s.pullResults[s.pullPos].second);
                out.insert(out.end(), bytes.begin(), bytes.end());
            }
            if (faulted(Fault::TooManyRecords))
                while (out.size() < (MAXTASKSONEQUERY + 1) * sizeof(ResultTask)) {
                    const auto bytes = bytesOf(makeResult(-1, 0));
                    out.insert(out.end(), bytes.begin(), bytes.end());
                }
            replySeg = s.pullPos >= s.pullResults.size() ? SEG_LAST : SEG_MIDDLE;
            break;
        }
        case REQ_END_SYNCALL:
        case REQ_ENDRECVTASK_SYNCALL:
            break;
        case REQ_RESULTTASK_JOBNOTASKID: {
            const std::string jobNo = textFrom(body, 0, 16);
            const std::int32_t id = wordAt(body, 16);
            for (const auto& entry : accounts_[s.account].history)
                if (entry.first == jobNo && entry.second.clientTaskId == id)
                    out = bytesOf(entry.second);
            break;
        }
        case REQ_CHECKJOB_FINISH: {
            const std::string jobNo = textFrom(body, 0, 16);
            std::int32_t finished = 0;
            for (const FakeJob& job : jobs_)
                if (job.jobNo == jobNo)
                    finished = job.complete && job.pendingTaskIds.empty() ? 1 : 0;
            out = word(finished);
            break;
        }
        case REQ_RECVTASK_SYNCALL: {
            scanInbox();
            s.pullRecv.clear();
            s.recvPos = 0;
            for (const auto& [owner, fax] : inbox_)
                if (owner.empty() || owner == s.account)
                    s.pullRecv.push_back(fax.task);
            out = word(static_cast<std::int32_t>(s.pullRecv.size()));
            break;
        }
        case REQ_RESULT_RECVTASK: {
            const std::size_t limit =
                faulted(Fault::TooManyRecords) ? MAXRECVTASKSONEQUERY + 1 : MAXRECVTASKSONEQUERY;
            for (std::size_t n = 0; n < limit && s.recvPos < s.pullRecv.size(); ++n, ++s.recvPos) {
                const auto bytes = bytesOf(s.pullRecv[s.recvPos]);
                out.insert(out.end(), bytes.begin(), bytes.end());
            }
            replySeg = s.recvPos >= s.pullRecv.size() ? SEG_LAST : SEG_MIDDLE;
            break;
        }
        case REQ_RECV_MSGFILE: {
            const std::string name = textFrom(body, 4, 124);
            s.downloading = false;
            for (const auto& [owner, fax] : inbox_) {
                if ((owner.empty() || owner == s.account) &&
                    std::string(SlotText(fax.task.remoteFileName)) == name) {
                    s.download = fax.content;
                    s.downloadPos = 0;
                    s.downloading = true;
                }
            }
            out = word(s.downloading && !faulted(Fault::RefuseFile) ? 1 : 0);
            break;
        }
        case REQ_RECV_MSGFILEPACKET: {
            const bool first = s.downloadPos == 0;
            const std::size_t piece =
                std::min<std::size_t>(kFilePieceSize, s.download.size() - s.downloadPos);
            out.assign(s.download.begin() + static_cast<std::ptrdiff_t>(s.downloadPos),
                       s.download.begin() + static_cast<std::ptrdiff_t>(s.downloadPos + piece));
            s.downloadPos += piece;
            const bool last = s.downloadPos >= s.download.size();
            replySeg = last ? (first ? SEG_WHOLE : SEG_LAST) : SEG_MIDDLE;
            break;
        }
        case REQ_REMOVE_SPECIFICFILE: {
            const std::string name = afterLastBackslash(textFrom(body, 0, 120));
            for (auto it = inbox_.begin(); it != inbox_.end();) {
                if (afterLastBackslash(std::string(SlotText(it->second.task.remoteFileName))) == name) {
                    if (!it->second.source.empty())
                        ::unlink(it->second.source.c_str());
                    it = inbox_.erase(it);
                } else {
                    ++it;
                }
            }
            break;
        }
        case REQ_CLIENT_VERSION: {
            ClientVersionReply answer;
            std::memset(&answer, 0, sizeof(answer));
            CopyToSlot(answer.text, latestVersion_);
            answer.word = textFrom(body, 0, 120) == latestVersion_ ? 0 : 1;
            out = bytesOf(answer);
            break;
        }
        default:
            break;
        }
    }
    reply(s, replyType, replySeg, std::move(out));
}

void FakeFaxServer::scanInbox()
{
    if (inboxFolder_.empty())
        return;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(inboxFolder_, error)) {
        if (!item.is_regular_file())
            continue;
        bool known = false;
        for (const auto& entry : inbox_)
            known = known || entry.second.source == item.path();
        if (known)
            continue;
        FakeReceivedFax fax;
        std::ifstream in(item.path(), std::ios::binary);
        fax.content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        fax.source = item.path();
        fax.task.clientTaskId = static_cast<std::int32_t>(inbox_.size() + 1);
        CopyToSlot(fax.task.callingNumber, "020-87654321");
        MakeUTime(static_cast<std::int32_t>(std::time(nullptr)), &fax.task.startTime);
        fax.task.endTime = fax.task.startTime;
        CopyToSlot(fax.task.remoteFileName, "RecvFax\\" + item.path().filename().string());
        inbox_.emplace_back("", std::move(fax));
    }
}

void FakeFaxServer::addAccount(const std::string& account, const std::string& subAccount,
                               const std::string& password)
{
    std::lock_guard lock(mutex_);
    Account& entry = accounts_[account];
    entry.subAccount = subAccount;
    entry.password = password;
    entry.setting.faxToneSeconds = 30;
}

void FakeFaxServer::addFault(const FaultRule& rule)
{
    std::lock_guard lock(mutex_);
    faults_.push_back({rule, 0});
}

void FakeFaxServer::clearFaults()
{
    std::lock_guard lock(mutex_);
    faults_.clear();
}

void FakeFaxServer::setHoldResults(bool hold)
{
    std::lock_guard lock(mutex_);
    holdResults_ = hold;
}

void FakeFaxServer::completeJobs()
{
    std::lock_guard lock(mutex_);
    for (FakeJob& job : jobs_)
        if (job.complete)
            finishJob(job);
}

void FakeFaxServer::addResults(const std::string& account, int count)
{
    std::lock_guard lock(mutex_);
    Account& entry = accounts_[account];
    for (int i = 0; i < count; ++i) {
        const ResultTask result = makeResult(i + 1, 0);
        entry.results.emplace_back("", result);
    }
}

void FakeFaxServer::addReceivedFax(const std::string& account, const std::string& remoteName,
                                   const std::vector<std::uint8_t>& content)
{
    std::lock_guard lock(mutex_);
    FakeReceivedFax fax;
    fax.content = content;
    fax.task.clientTaskId = static_cast<std::int32_t>(inbox_.size() + 1);
    CopyToSlot(fax.task.callingNumber, "010-12345678");
    MakeUTime(static_cast<std::int32_t>(std::time(nullptr)), &fax.task.startTime);
    fax.task.endTime = fax.task.startTime;
    // Written as given, even past the slot: a test may want a name without a terminator.
    std::memcpy(fax.task.remoteFileName, remoteName.data(),
                std::min(remoteName.size(), sizeof(fax.task.remoteFileName)));
    inbox_.emplace_back(account, std::move(fax));
}

void FakeFaxServer::setInboxFolder(const std::filesystem::path& folder)
{
    std::lock_guard lock(mutex_);
    inboxFolder_ = folder;
}

void FakeFaxServer::setSpoolFolder(const std::filesystem::path& folder)
{
    std::lock_guard lock(mutex_);
    spoolFolder_ = folder;
}

void FakeFaxServer::setLatestClientVersion(const std::string& version)
{
    std::lock_guard lock(mutex_);
    latestVersion_ = version;
}

std::vector<SeenFrame> FakeFaxServer::frames() const
{
    std::lock_guard lock(mutex_);
    return frames_;
}

std::vector<SeenFrame> FakeFaxServer::framesOfType(std::uint32_t msgType) const
{
    std::lock_guard lock(mutex_);
    std::vector<SeenFrame> found;
    for (const SeenFrame& frame : frames_)
        if (frame.msgType == msgType)
            found.push_back(frame);
    return found;
}

void FakeFaxServer::clearFrames()
{
    std::lock_guard lock(mutex_);
    frames_.clear();
}

std::vector<FakeJob> FakeFaxServer::jobs() const
{
    std::lock_guard lock(mutex_);
    return jobs_;
}

std::map<std::string, std::vector<std::uint8_t>> FakeFaxServer::uploadedFiles() const
{
    std::lock_guard lock(mutex_);
    return files_;
}

UserSetting FakeFaxServer::userSetting(const std::string& account) const
{
    std::lock_guard lock(mutex_);
    auto found = accounts_.find(account);
    return found == accounts_.end() ? UserSetting{} : found->second.setting;
}

std::string FakeFaxServer::password(const std::string& account) const
{
    std::lock_guard lock(mutex_);
    auto found = accounts_.find(account);
    return found == accounts_.end() ? std::string() : found->second.password;
}

int FakeFaxServer::waitingResults(const std::string& account) const
{
    std::lock_guard lock(mutex_);
    auto found = accounts_.find(account);
    return found == accounts_.end() ? 0 : static_cast<int>(found->second.results.size());
}

int FakeFaxServer::liveConnections(const std::string& account) const
{
    std::lock_guard lock(mutex_);
    auto found = accounts_.find(account);
    return found == accounts_.end() ? 0 : found->second.liveConnections;
}

}  // namespace vestrel::fakefax
