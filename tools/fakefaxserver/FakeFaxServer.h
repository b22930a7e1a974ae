#pragma once
// A fax server for tests, benchmarks and trying the client by hand. It speaks the server
// side of the whole message catalogue on loopback: accounts, jobs with their uploaded
// files, send results, received faxes (from a folder or added by a test), and it can be
// told to misbehave in every way the client must survive. Each client connection is
// served on a thread of its own; all state is behind one lock.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "MessageBodies.h"
#include "quendle.h"

namespace vestrel::fakefax {

enum class Fault {
    RefuseHandshake,    // answer the connect request with a wrong physical type
    SilentHandshake,    // never answer the connect request
    RefuseLogin,        // authentication answered with word 1
    LoginAlreadyLive,   // authentication answered with word -2
    Nak,                // a destination packet answered with the NAK code
    Drop,               // answer PHY_CONN_UNAVAILBLE and close the connection
    WrongType,          // answer with a message type the request does not expect
    WrongPhysicalType,  // answer with a frame whose physical type is not PHY_MSG_SENDDATA
    LengthMismatch,     // logic head's body length disagrees with the frame length
    HugeLength,         // announce a 1 GiB body
    WrongBodySize,      // answer with the body one byte short
    Slow,               // wait delayMs before answering
    CloseMidFrame,      // send half of the answer, then close
    RenderFailure,      // REQ_BEGINSEND_CLIJOB answered with word 1
    TooManyRecords,     // a result batch of MAXTASKSONEQUERY + 1 records
    RefuseChange,       // settings or password change answered with word 0
    RefuseFile,         // REQ_RECV_MSGFILE answered with word 0
};

struct FaultRule {
    Fault fault;
    std::uint32_t onType = 0;  // the request type it applies to (0: the handshake / any)
    int occurrence = 1;        // the n-th such request since the rule was added; 0: every one
    int delayMs = 0;           // for Slow
};

// One frame as the server received it.
struct SeenFrame {
    int connection = 0;  // 1-based number of the client connection
    std::uint32_t msgType = 0;
    std::uint8_t flag = 0;
    std::uint8_t segPos = 0;
    std::vector<std::uint8_t> body;
};

struct FakeJob {
    std::string jobNo;
    std::string account;
    std::vector<std::uint8_t> jobBody;                              // REQ_BEGINSEND_CLIJOB body
    std::uint32_t destinationType = 0;                              // 7, 35 or 39
    std::vector<std::vector<std::uint8_t>> destinations;            // one entry each
    std::vector<std::int32_t> pendingTaskIds;                       // not yet finished
    bool complete = false;                                          // all destinations taken
};

struct FakeReceivedFax {
    RecvTask task{};
    std::vector<std::uint8_t> content;
    std::filesystem::path source;  // the file in the inbox folder, if it came from there
};

class FakeFaxServer {
public:
    FakeFaxServer();
    ~FakeFaxServer();
    FakeFaxServer(const FakeFaxServer&) = delete;
    FakeFaxServer& operator=(const FakeFaxServer&) = delete;

    // Listens on 127.0.0.1:port (0 picks a free port); returns the port, or -1.
    int start(int port = 0);
    void stop();
    int port() const { return port_; }

    void addAccount(const std::string& account, const std::string& subAccount,
                    const std::string& password);
    void addFault(const FaultRule& rule);
    void clearFaults();
    // Destinations stay pending (cancellable, no results) until completeJobs().
    void setHoldResults(bool hold);
    void completeJobs();
    // Adds `count` finished results for `account` without a job (for pulls of any size).
    void addResults(const std::string& account, int count);
    void addReceivedFax(const std::string& account, const std::string& remoteName,
                        const std::vector<std::uint8_t>& content);
    // Every regular file in `folder` is a fax received for every account; fetched ones
    // are deleted from it.
    void setInboxFolder(const std::filesystem::path& folder);
    // Uploaded files are also written to this folder (remote name with '\' turned to '_').
    void setSpoolFolder(const std::filesystem::path& folder);
    void setLatestClientVersion(const std::string& version);

    // What the clients sent.
    std::vector<SeenFrame> frames() const;
    std::vector<SeenFrame> framesOfType(std::uint32_t msgType) const;
    std::vector<FakeJob> jobs() const;
    std::map<std::string, std::vector<std::uint8_t>> uploadedFiles() const;
    UserSetting userSetting(const std::string& account) const;
    std::string password(const std::string& account) const;
    int waitingResults(const std::string& account) const;
    // Logged-in connections of the account whose end the server has not yet seen.
    int liveConnections(const std::string& account) const;
    int connectionsAccepted() const { return connectionCount_.load(); }
    void clearFrames();

    // Keep the received bodies (off for benchmarks that move megabytes).
    void setRecordBodies(bool record) { recordBodies_ = record; }

private:
    struct Session;
    struct Account {
        std::string subAccount;
        std::string password;
        UserSetting setting{};
        int liveConnections = 0;
        std::vector<std::pair<std::string, ResultTask>> results;  // (job number, result) waiting
        std::vector<std::pair<std::string, ResultTask>> history;  // every result ever made
    };

    void acceptLoop();
    void serve(int fd, int number);
    struct ActiveFault {
        FaultRule rule;
        int seen = 0;
    };
    // The fault rule that applies to this request (or handshake), if any.
    bool takeFault(std::uint32_t type, bool handshake, FaultRule& hit);
    void handle(Session& session, std::uint32_t type, std::uint8_t flag, std::uint8_t segPos,
                const std::vector<std::uint8_t>& body);
    void reply(Session& session, std::uint32_t type, std::uint8_t segPos,
               std::vector<std::uint8_t> body);
    void finishJob(FakeJob& job);
    void scanInbox();

    mutable std::mutex mutex_;
    int listenFd_ = -1;
    int port_ = -1;
    std::atomic<bool> running_{false};
    std::atomic<int> connectionCount_{0};
    std::atomic<bool> recordBodies_{true};
    std::thread acceptThread_;
    std::vector<std::thread> clientThreads_;
    std::vector<int> clientFds_;

    std::map<std::string, Account> accounts_;
    std::vector<ActiveFault> faults_;
    std::vector<SeenFrame> frames_;
    std::vector<FakeJob> jobs_;
    std::map<std::string, std::vector<std::uint8_t>> files_;
    std::vector<std::pair<std::string, FakeReceivedFax>> inbox_;   // account ("" = all), fax
    std::filesystem::path inboxFolder_;
    std::filesystem::path spoolFolder_;
    std::string latestVersion_ = "1.0.0";
    bool holdResults_ = false;
    int nextJob_ = 1;
};

}  // namespace vestrel::fakefax
