#pragma once
// What the fake server remembers about one client connection.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "FakeFaxServer.h"

namespace vestrel::fakefax {

struct FakeFaxServer::Session {
    int fd = -1;
    int number = 0;
    std::uint32_t connId = 0;
    std::string account;
    bool loggedIn = false;
    bool closed = false;
    std::optional<FaultRule> fault;  // the fault of the request being answered
    std::string jobNo;               // the job being submitted
    std::string uploadName;
    std::vector<std::uint8_t> upload;
    std::vector<std::pair<std::string, ResultTask>> pullResults;
    std::size_t pullPos = 0;
    std::vector<RecvTask> pullRecv;
    std::size_t recvPos = 0;
    std::vector<std::uint8_t> download;
    std::size_t downloadPos = 0;
    bool downloading = false;
};

}  // namespace vestrel::fakefax
