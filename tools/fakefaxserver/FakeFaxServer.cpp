#include "FakeFaxServer.h"
#include "FakeSession.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <optional>

#include "FrameParser.h"
#include "MessageTypes.h"
#include "TextSlots.h"
#include "WireRecords.h"

namespace vestrel::fakefax {

using namespace vestrel::fax;


namespace {

bool sendAll(int fd, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = ::send(fd, bytes, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool isHandshakeFault(Fault fault)
{
    return fault == Fault::RefuseHandshake || fault == Fault::SilentHandshake;
}

}  // namespace

FakeFaxServer::FakeFaxServer() = default;

FakeFaxServer::~FakeFaxServer()
{
    stop();
}

int FakeFaxServer::start(int port)
{
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0)
        return -1;
    const int reuse = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof(reuse));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof(address);
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(listenFd_, 16) != 0 ||
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        ::close(listenFd_);
        listenFd_ = -1;
        return -1;
    }
    port_ = ntohs(address.sin_port);
    running_ = true;
    acceptThread_ = std::thread([this] { acceptLoop(); });
    return port_;
}

void FakeFaxServer::stop()
{
    if (!running_.exchange(false))
        return;
    acceptThread_.join();
    ::close(listenFd_);
    listenFd_ = -1;
    {
        std::lock_guard lock(mutex_);
        for (int fd : clientFds_)
            if (fd >= 0)
                ::shutdown(fd, SHUT_RDWR);
    }
    for (std::thread& client : clientThreads_)
        client.join();
    clientThreads_.clear();
}

void FakeFaxServer::acceptLoop()
{
    while (running_) {
        pollfd entry{listenFd_, POLLIN, 0};
        if (::poll(&entry, 1, 100) <= 0)
            continue;
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        const int number = ++connectionCount_;
        std::lock_guard lock(mutex_);
        clientFds_.push_back(fd);
        clientThreads_.emplace_back([this, fd, number] { serve(fd, number); });
    }
}

bool FakeFaxServer::takeFault(std::uint32_t type, bool handshake, FaultRule& hit)
{
    std::lock_guard lock(mutex_);
    for (ActiveFault& active : faults_) {
        if (isHandshakeFault(active.rule.fault) != handshake)
            continue;
        if (!handshake && active.rule.onType != 0 && active.rule.onType != type)
            continue;
        ++active.seen;
        if (active.rule.occurrence == 0 || active.seen == active.rule.occurrence) {
            hit = active.rule;
            return true;
        }
    }
    return false;
}

void FakeFaxServer::serve(int fd, int number)
{
    Session session;
    session.fd = fd;
    session.number = number;
    session.connId = static_cast<std::uint32_t>(0x100 + number) & 0xFFFFu;

    TcpMsgHead request{};
    const ssize_t got = ::recv(fd, &request, sizeof(request), MSG_WAITALL);
    FaultRule hit{};
    if (got == static_cast<ssize_t>(sizeof(request)) && request.phyType == PHY_CONN_REQUEST) {
        const bool faulted = takeFault(0, true, hit);
        if (faulted && hit.fault == Fault::SilentHandshake) {
            // Say nothing; the client gives up after its time-out.
            char sink[64];
            while (running_ && ::recv(fd, sink, sizeof(sink), 0) > 0) {
            }
            session.closed = true;
        } else {
            const TcpMsgHead accept =
                makeBareHead(session.connId, faulted ? PHY_MSG_SENDDATA : PHY_CONN_ACCEPT);
            session.closed = !sendAll(fd, &accept, sizeof(accept)) || faulted;
        }
    } else {
        session.closed = true;
    }

    FrameParser parser;
    std::vector<std::uint8_t> buffer(64 * 1024);
    TcpMessage frame;
    while (!session.closed && running_) {
        const FrameParser::Status status = parser.next(frame);
        if (status == FrameParser::Status::Malformed)
            break;
        if (status == FrameParser::Status::Frame) {
            handle(session, frame.msgType, frame.flag, frame.segPos, frame.body);
            continue;
        }
        const ssize_t n = ::recv(fd, buffer.data(), buffer.size(), 0);
        if (n <= 0)
            break;
        parser.feed(buffer.data(), static_cast<std::size_t>(n));
    }
    std::lock_guard lock(mutex_);
    if (session.loggedIn && accounts_.count(session.account))
        --accounts_[session.account].liveConnections;
    for (int& client : clientFds_)
        if (client == fd)
            client = -1;
    ::close(fd);
}

void FakeFaxServer::reply(Session& session, std::uint32_t type, std::uint8_t segPos,
                          std::vector<std::uint8_t> body)
{
    const std::optional<FaultRule> fault = session.fault;
    auto is = [&](Fault f) { return fault && fault->fault == f; };
    if (is(Fault::Slow))
        std::this_thread::sleep_for(std::chrono::milliseconds(fault->delayMs));
    if (is(Fault::Drop)) {
        const TcpMsgHead drop = makeBareHead(session.connId, PHY_CONN_UNAVAILBLE);
        sendAll(session.fd, &drop, sizeof(drop));
        ::shutdown(session.fd, SHUT_RDWR);
        session.closed = true;
        return;
    }
    if (is(Fault::WrongType))
        type += 1000;
    if (is(Fault::WrongBodySize)) {
        if (body.empty())
            body.push_back(0);
        else
            body.pop_back();
    }
    std::vector<std::uint8_t> frame;
    buildDataFrame(session.connId, {type, 0, segPos}, body, frame);
    TcpMsgHead head;
    TcpMsgLogicHead logic;
    std::memcpy(&head, frame.data(), sizeof(head));
    std::memcpy(&logic, frame.data() + sizeof(head), sizeof(logic));
    if (is(Fault::WrongPhysicalType))
        head.phyType = 4;
    if (is(Fault::LengthMismatch))
        logic.bodyLength += 4;
    if (is(Fault::HugeLength)) {
        head.length = 16 + (1 << 30);
        logic.bodyLength = 1 << 30;
    }
    std::memcpy(frame.data(), &head, sizeof(head));
    std::memcpy(frame.data() + sizeof(head), &logic, sizeof(logic));
    if (is(Fault::CloseMidFrame)) {
        sendAll(session.fd, frame.data(), frame.size() / 2);
        ::shutdown(session.fd, SHUT_RDWR);
        session.closed = true;
        return;
    }
    if (!sendAll(session.fd, frame.data(), frame.size()))
        session.closed = true;
}

}  // namespace vestrel::fakefax
