// faxctl: the fax server from the command line, over libquendle.
//
//   faxctl --server HOST:PORT --user USER --password PASSWORD [--sub SUB] [--timeout MS] [--log]
//          send FILE NUMBER... | cancel JOBNO | results [JOBNO] | receive DIR | info | passwd NEW
//
// Prints what the server answered; on failure prints the result code and its meaning and
// exits with 1 (2 for a wrong command line).

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "quendle.h"

namespace {

// What each result code of the library means, as faxctl tells its user.
const char* meaningOf(int code)
{
    switch (code) {
    case QUENDLE_OK: return "success";
    case QUENDLE_ERR_LOGIN: return "the server refused the login, or the account is already connected";
    case QUENDLE_ERR_PARAM: return "a parameter is out of range (text too long, bad handle) or the operation is switched off";
    case QUENDLE_ERR_NOT_READY: return "not logged in, or the exchange with the server failed";
    case QUENDLE_ERR_FILE_TYPE: return "the document type is not accepted (.tif .doc .xls .pdf .ppt .jpg .bmp .gif), or the server could not render it";
    case QUENDLE_ERR_UPLOAD: return "uploading a file to the server failed";
    case QUENDLE_ERR_NOTHING: return "nothing to pick";
    case QUENDLE_ERR_FAX_NUMBER: return "a fax number holds a character other than a digit or '-'";
    case QUENDLE_ERR_LOCAL: return "no connection slot, or the local file of a download could not be made";
    case QUENDLE_ERR_REFUSED: return "the server refused the change";
    default: return "unknown result";
    }
}

int usage()
{
    std::fprintf(stderr,
                 "usage: faxctl --server HOST:PORT --user USER --password PASSWORD [--sub SUB]\n"
                 "              [--timeout MS] [--log] COMMAND\n"
                 "commands: send FILE NUMBER...   cancel JOBNO   results [JOBNO]\n"
                 "          receive DIR           info           passwd NEW_PASSWORD\n");
    return 2;
}

int fail(const char* what, int code)
{
    std::fprintf(stderr, "faxctl: %s failed: result %d: %s\n", what, code, meaningOf(code));
    return 1;
}

void printTime(const UTime& t)
{
    std::printf("%04u-%02u-%02u %02u:%02u:%02u", t.year, t.month, t.day, t.hour, t.minute, t.second);
}

int sendCommand(int handle, const std::vector<std::string>& args)
{
    if (args.size() < 2)
        return usage();
    std::vector<FaxNumberEntry> entries(args.size() - 1);
    for (std::size_t i = 1; i < args.size(); ++i) {
        FaxNumberEntry& entry = entries[i - 1];
        std::memset(&entry, 0, sizeof(entry));
        if (args[i].size() >= sizeof(entry.faxNumber))
            return fail("send", QUENDLE_ERR_PARAM);
        std::memcpy(entry.faxNumber, args[i].data(), args[i].size());
        entry.clientTaskId = static_cast<int32_t>(i);
    }
    char jobNo[16] = {};
    const int result = SendFaxToServer(handle, args[0].c_str(), 0, entries.data(),
                                       static_cast<int>(entries.size()), jobNo);
    if (result != QUENDLE_OK) {
        if (jobNo[0] != '\0')
            std::fprintf(stderr, "faxctl: job %s was not submitted completely\n", jobNo);
        return fail("send", result);
    }
    std::printf("job %s: %zu destination(s) submitted\n", jobNo, entries.size());
    return 0;
}

int resultsCommand(int handle, const std::vector<std::string>& args)
{
    int count = 0;
    const int result = args.empty() ? QueryResultForNewTasks(handle, &count)
                                    : QueryResultTaskByJobNo(handle, args[0].c_str(), &count);
    if (result != QUENDLE_OK)
        return fail("results", result);
    std::printf("%d result(s) waiting\n", count);
    ResultTask task;
    while (PickResultTask(handle, &task) == QUENDLE_OK) {
        std::printf("task %d: result %d, ", task.clientTaskId, task.resultCode);
        printTime(task.startTime);
        std::printf(" - ");
        printTime(task.endTime);
        std::printf("\n");
    }
    return 0;
}

int receiveCommand(int handle, const std::vector<std::string>& args)
{
    if (args.size() != 1)
        return usage();
    int count = 0;
    const int result = QueryResultForNewRecvTasks(handle, &count);
    if (result != QUENDLE_OK)
        return fail("receive", result);
    std::printf("%d fax(es) waiting\n", count);
    RecvTask task;
    int failures = 0;
    for (;;) {
        const int picked = PickResultRecvTask(handle, &task, args[0].c_str());
        if (picked == QUENDLE_ERR_NOTHING)
            break;
        if (picked != QUENDLE_OK) {
            ++failures;
            std::fprintf(stderr, "faxctl: fax %s from %s: result %d: %s\n", task.remoteFileName,
                         task.callingNumber, picked, meaningOf(picked));
            continue;
        }
        std::printf("fax from %s saved from %s, ", task.callingNumber, task.remoteFileName);
        printTime(task.endTime);
        std::printf("\n");
    }
    return failures == 0 ? 0 : 1;
}

int infoCommand(int handle)
{
    UserInfo info;
    const int result = GetUserInfo(handle, &info);
    if (result != QUENDLE_OK)
        return fail("info", result);
    std::printf("account: %s\nsub-account: %s\narea code: %s\nuser: %s\nfax-tone detection: %d s\n"
                "balance: %.2f\n",
                info.account, info.subAccount, info.areaCode, info.userName, info.faxToneSeconds,
                info.balance);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string server, user, password, sub;
    int timeoutMs = 60000;
    bool log = false;
    std::vector<std::string> rest;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--server" && hasValue) server = argv[++i];
        else if (option == "--user" && hasValue) user = argv[++i];
        else if (option == "--password" && hasValue) password = argv[++i];
        else if (option == "--sub" && hasValue) sub = argv[++i];
        else if (option == "--timeout" && hasValue) timeoutMs = std::atoi(argv[++i]);
        else if (option == "--log") log = true;
        else if (option.rfind("--", 0) == 0) return usage();
        else rest.push_back(option);
    }
    const std::size_t colon = server.rfind(':');
    if (rest.empty() || user.empty() || colon == std::string::npos || colon == 0)
        return usage();
    const std::string host = server.substr(0, colon);
    const int port = std::atoi(server.c_str() + colon + 1);
    const std::string command = rest.front();
    const std::vector<std::string> args(rest.begin() + 1, rest.end());
    static const char* kCommands[] = {"send", "cancel", "results", "receive", "info", "passwd"};
    bool known = false;
    for (const char* name : kCommands)
        known = known || command == name;
    if (!known)
        return usage();

    int handle = -1;
    const int opened = sub.empty()
        ? OpenConnectionEx(&handle, host.c_str(), port, user.c_str(), password.c_str(), timeoutMs, log ? 1 : 0)
        : OpenConnection(&handle, host.c_str(), port, user.c_str(), sub.c_str(), password.c_str());
    if (opened != QUENDLE_OK) {
        if (handle >= 0)
            CloseConnection(handle);
        return fail("login", opened);
    }
    int status = 0;
    if (command == "send") {
        status = sendCommand(handle, args);
    } else if (command == "cancel") {
        if (args.size() != 1) {
            status = usage();
        } else {
            const int cancelled = CancelSendJob(handle, args[0].c_str());
            if (cancelled < 0)
                status = fail("cancel", cancelled);
            else
                std::printf("%d destination(s) cancelled\n", cancelled);
        }
    } else if (command == "results") {
        status = resultsCommand(handle, args);
    } else if (command == "receive") {
        status = receiveCommand(handle, args);
    } else if (command == "info") {
        status = infoCommand(handle);
    } else if (command == "passwd") {
        if (args.size() != 1) {
            status = usage();
        } else {
            const int changed = ModifyPassword(handle, password.c_str(), args[0].c_str());
            if (changed != QUENDLE_OK)
                status = fail("passwd", changed);
            else
                std::printf("password changed\n");
        }
    }
    CloseConnection(handle);
    return status;
}
