#include "FaxConnection.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "ClientLogTexts.h"
#include "MessageTypes.h"
#include "ScratchRoot.h"
#include "TextSlots.h"
#include "UserAlert.h"

namespace vestrel::fax {

void FaxConnection::log(const std::string& text)
{
    if (logEnabled_)
        log_.write(text);
}

void FaxConnection::logf(const char* format, ...)
{
    if (!logEnabled_ || !log_.isOpen())
        return;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(needed > 0 ? static_cast<std::size_t>(needed) + 1 : 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    va_end(args);
    text.pop_back();
    log_.write(text);
}

int FaxConnection::open(int slot, const std::string& host, int port, const char* account,
                        const char* subAccount, const char* password, int timeoutMs, bool logOn)
{
    state_ = kSlotReserved;
    host_ = host;
    port_ = port;
    timeoutSeconds_ = timeoutMs / 1000;
    logEnabled_ = logOn;
    if (logEnabled_) {
        const std::string path = TolvyPath("Raviklog" + std::to_string(slot) + ".txt");
        if (!log_.open(path))
            ShowUserAlert(FormatText(logtext::kLogOpenFailed, path.c_str()));
    }
    transport_.setLog(logEnabled_ ? &log_ : nullptr);

    const bool extended = subAccount == nullptr;
    const char* name = extended ? "REQ_SERVER_AUTHEX" : "REQ_SERVER_AUTH";
    // The socket time-out keeps the caller's milliseconds: a time-out under a second must
    // not turn into no waiting at all.
    if (transport_.connect(host, port, timeoutMs) != CONNECT_OK) {
        log(logtext::kConnectFailed);
        close();
        return QUENDLE_ERR_NOT_READY;
    }

    TcpMessage reply;
    int sent;
    if (extended) {
        AuthExBody body;
        CopyToSlot(body.account, account);
        CopyToSlot(body.password, password);
        sent = transport_.exchange({REQ_SERVER_AUTHEX, 0, SEG_WHOLE}, bytesOf(body), reply);
    } else {
        AuthBody body;
        CopyToSlot(body.account, account);
        CopyToSlot(body.subAccount, subAccount);
        CopyToSlot(body.password, password);
        sent = transport_.exchange({REQ_SERVER_AUTH, 0, SEG_WHOLE}, bytesOf(body), reply);
    }
    if (sent != TCP_SUCCESS) {
        logf(logtext::kAuthSendFailed, name);
        close();
        return QUENDLE_ERR_NOT_READY;
    }
    std::int32_t word = 0;
    const std::uint32_t expected = extended ? REQ_SERVER_AUTHEX_ACK : REQ_SERVER_AUTH_ACK;
    if (reply.msgType != expected || !reply.firstWord(word)) {
        logf(logtext::kAuthWrongReply, name, name);
        close();
        return QUENDLE_ERR_NOT_READY;
    }
    if (word != 0) {
        log(word == -2 ? logtext::kAlreadyConnected : logtext::kAuthFailed);
        close();
        return QUENDLE_ERR_LOGIN;
    }
    log(logtext::kAuthPassed);
    state_ = kSlotLoggedIn;
    return QUENDLE_OK;
}

void FaxConnection::close()
{
    transport_.disconnect();
    transport_.setLog(nullptr);
    log_.close();
    results_.clear();
    recvTasks_.clear();
    state_ = kSlotFree;
}

void FaxConnection::drop()
{
    log(logtext::kServerDropped);
    transport_.disconnect();
    state_ = kSlotDropped;
}

bool FaxConnection::ask(const char* name, LogicFields fields, std::span<const std::uint8_t> body,
                        TcpMessage& reply, PhysicalCheck check)
{
    const int result = transport_.exchange(fields, body, reply);
    if (check == PhysicalCheck::DropOnUnavailable && reply.phyType == PHY_CONN_UNAVAILBLE) {
        // The server dropped us, or the receive failed: either way the connection is gone.
        if (result != TCP_SUCCESS)
            logf(logtext::kRequestSendFailed, name);
        drop();
        return false;
    }
    if (result != TCP_SUCCESS) {
        logf(logtext::kRequestSendFailed, name);
        return false;
    }
    if (check != PhysicalCheck::Ignore && reply.phyType != PHY_MSG_SENDDATA) {
        logf(logtext::kNonSendData, name);
        return false;
    }
    return true;
}

bool FaxConnection::expectType(const char* name, const TcpMessage& reply, std::uint32_t type)
{
    if (reply.msgType == type)
        return true;
    logf(logtext::kUnexpectedReply, name);
    return false;
}

bool FaxConnection::askFor(const char* name, LogicFields fields, std::span<const std::uint8_t> body,
                           std::uint32_t replyType, PhysicalCheck check, TcpMessage& reply)
{
    return ask(name, fields, body, reply, check) && expectType(name, reply, replyType);
}

bool FaxConnection::wordOf(const char* name, const TcpMessage& reply, std::int32_t& word)
{
    if (reply.firstWord(word))
        return true;
    logf(logtext::kWrongReply, name);
    return false;
}

int FaxConnection::getUserInfo(UserInfo& info)
{
    if (state_ != kSlotLoggedIn)
        return QUENDLE_ERR_NOT_READY;
    std::memset(&info, 0, sizeof(info));
    TcpMessage reply;
    if (!askFor("REQ_GET_USERINFO", {REQ_GET_USERINFO, 1, SEG_WHOLE}, {}, REQ_GET_USERINFO_ACK,
                PhysicalCheck::RequireSendData, reply))
        return QUENDLE_ERR_NOT_READY;
    if (reply.body.size() != sizeof(UserInfo)) {
        logf(logtext::kWrongReply, "REQ_GET_USERINFO");
        return QUENDLE_ERR_NOT_READY;
    }
    std::memcpy(&info, reply.body.data(), sizeof(info));
    TerminateSlot(info.account);
    TerminateSlot(info.subAccount);
    TerminateSlot(info.areaCode);
    TerminateSlot(info.userName);
    return QUENDLE_OK;
}

int FaxConnection::modifyUserSetting(const UserSetting& setting)
{
    if (state_ != kSlotLoggedIn)
        return QUENDLE_ERR_NOT_READY;
    UserSetting body = setting;
    CopyToSlot(body.stationId, SlotText(setting.stationId));
    TcpMessage reply;
    std::int32_t word = 0;
    if (!askFor("REQ_MODIFY_USERSETTING", {REQ_MODIFY_USERSETTING, 0, SEG_WHOLE}, bytesOf(body),
                REQ_MODIFY_USERSETTING_ACK, PhysicalCheck::RequireSendData, reply))
        return QUENDLE_ERR_NOT_READY;
    if (!wordOf("REQ_MODIFY_USERSETTING", reply, word))
        return QUENDLE_ERR_NOT_READY;
    return word == 1 ? QUENDLE_OK : QUENDLE_ERR_REFUSED;
}

int FaxConnection::modifyPassword(const char* oldPassword, const char* newPassword)
{
    if (state_ != kSlotLoggedIn)
        return QUENDLE_ERR_NOT_READY;
    ModifyPasswordBody body;
    CopyToSlot(body.oldPassword, oldPassword);
    CopyToSlot(body.newPassword, newPassword);
    TcpMessage reply;
    std::int32_t word = 0;
    if (!askFor("REQ_MODIFY_PASSWORD", {REQ_MODIFY_PASSWORD, 0, SEG_WHOLE}, bytesOf(body),
                REQ_MODIFY_PASSWORD_ACK, PhysicalCheck::RequireSendData, reply))
        return QUENDLE_ERR_NOT_READY;
    if (!wordOf("REQ_MODIFY_PASSWORD", reply, word))
        return QUENDLE_ERR_NOT_READY;
    return word == 1 ? QUENDLE_OK : QUENDLE_ERR_REFUSED;
}

int FaxConnection::cancelJob(const char* jobNo)
{
    if (state_ != kSlotLoggedIn)
        return QUENDLE_ERR_NOT_READY;
    JobNumberBody body;
    CopyToSlot(body.jobNo, jobNo);
    TcpMessage reply;
    if (!ask("REQ_CANCEL_JOB", {REQ_CANCEL_JOB, 1, SEG_WHOLE}, bytesOf(body), reply,
             PhysicalCheck::Ignore))
        return 0;
    std::int32_t cancelled = 0;
    if (reply.msgType != REQ_CANCEL_JOB_ACK || !reply.firstWord(cancelled)) {
        log(logtext::kCancelWrongReply);
        return 0;
    }
    // A negative count would read as one of our error codes.
    if (cancelled < 0)
        cancelled = 0;
    logf(logtext::kCancelled, cancelled, body.jobNo);
    return cancelled;
}

int FaxConnection::queryResultByTaskId(const char* jobNo, int clientTaskId, ResultTask& result)
{
    if (state_ != kSlotLoggedIn)
        return QUENDLE_ERR_NOT_READY;
    JobNoTaskIdBody body;
    CopyToSlot(body.jobNo, jobNo);
    body.clientTaskId = clientTaskId;
    TcpMessage reply;
    if (!askFor("REQ_RESULTTASK_JOBNOTASKID", {REQ_RESULTTASK_JOBNOTASKID, 1, SEG_WHOLE}, bytesOf(body),
                REQ_RESULTTASK_JOBNOTASKID_ACK, PhysicalCheck::DropOnUnavailable, reply))
        return QUENDLE_ERR_NOT_READY;
    if (reply.body.empty())
        return QUENDLE_ERR_NOTHING;
    if (reply.body.size() != sizeof(ResultTask)) {
        logf(logtext::kWrongReply, "REQ_RESULTTASK_JOBNOTASKID");
        return QUENDLE_ERR_NOT_READY;
    }
    std::memcpy(&result, reply.body.data(), sizeof(result));
    return QUENDLE_OK;
}

int FaxConnection::queryJobFinish(const char* jobNo, int& finishState)
{
    if (state_ != kSlotLoggedIn)
        return QUENDLE_ERR_NOT_READY;
    JobNumberBody body;
    CopyToSlot(body.jobNo, jobNo);
    TcpMessage reply;
    if (!askFor("REQ_CHECKJOB_FINISH", {REQ_CHECKJOB_FINISH, 1, SEG_WHOLE}, bytesOf(body),
                REQ_CHECKJOB_FINISH_ACK, PhysicalCheck::DropOnUnavailable, reply))
        return QUENDLE_ERR_NOT_READY;
    std::int32_t word = 0;
    if (reply.body.size() != sizeof(word) || !reply.firstWord(word)) {
        logf(logtext::kWrongReply, "REQ_CHECKJOB_FINISH");
        return QUENDLE_ERR_NOT_READY;
    }
    finishState = word;
    return QUENDLE_OK;
}

int FaxConnection::checkClientVersion(const char* version, char* text120)
{
    if (state_ != kSlotLoggedIn)
        return QUENDLE_ERR_NOT_READY;
    ClientVersionBody body;
    CopyToSlot(body.version, version);
    TcpMessage reply;
    if (!askFor("REQ_CLIENT_VERSION", {REQ_CLIENT_VERSION, 0, SEG_WHOLE}, bytesOf(body),
                REQ_CLIENT_VERSION_ACK, PhysicalCheck::RequireSendData, reply))
        return 0;
    if (reply.body.size() < sizeof(ClientVersionReply)) {
        logf(logtext::kWrongReply, "REQ_CLIENT_VERSION");
        return 0;
    }
    ClientVersionReply answer;
    std::memcpy(&answer, reply.body.data(), sizeof(answer));
    CopyToSlot(text120, sizeof(answer.text), SlotText(answer.text));
    return answer.word;
}

}  // namespace vestrel::fax
