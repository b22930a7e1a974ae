#include "TcpTransport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <new>

#include "LogFile.h"
#include "TransportLogTexts.h"

namespace vestrel::fax {
namespace {

constexpr std::size_t kReceiveChunk = 64 * 1024;

using Clock = std::chrono::steady_clock;

bool resolveIpv4(const std::string& host, in_addr& address)
{
    if (inet_pton(AF_INET, host.c_str(), &address) == 1)
        return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
        return false;
    address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return true;
}

// Waits for `events` on fd: 1 ready, 0 time-out, -1 error.
int waitFor(int fd, short events, int timeoutMs)
{
    pollfd entry{fd, events, 0};
    for (;;) {
        const int ready = ::poll(&entry, 1, timeoutMs);
        if (ready >= 0)
            return ready > 0 ? 1 : 0;
        if (errno != EINTR)
            return -1;
    }
}

}  // namespace

TcpTransport::TcpTransport() : receiveBuffer_(kReceiveChunk) {}

TcpTransport::~TcpTransport()
{
    disconnect();
}

void TcpTransport::setLimits(FrameLimits limits)
{
    parser_ = FrameParser(limits);
}

void TcpTransport::logText(const char* text)
{
    if (log_ != nullptr)
        log_->write(text);
}

void TcpTransport::logf(const char* format, int a, int b)
{
    if (log_ != nullptr)
        log_->printf(format, a, b);
}

void TcpTransport::disconnect()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    parser_.reset();
}

void TcpTransport::applySocketTimeouts()
{
    timeval limit{};
    limit.tv_sec = timeoutMs_ / 1000;
    limit.tv_usec = (timeoutMs_ % 1000) * 1000;
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof(limit));
    ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof(limit));
}

int TcpTransport::connect(const std::string& host, int port, int timeoutMs)
{
    disconnect();
    timeoutMs_ = timeoutMs > 0 ? timeoutMs : kDefaultTimeoutMs;
    connId_ = 0;
    in_addr address{};
    if (port < 0 || port > 65535 || !resolveIpv4(host, address))
        return CONNECT_FAILED;
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd_ < 0)
        return CONNECT_FAILED;
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<std::uint16_t>(port));
    peer.sin_addr = address;
    // A connect that is never answered must not outlast the time-out either.
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&peer), sizeof(peer)) != 0) {
        if (errno != EINPROGRESS) {
            disconnect();
            return CONNECT_FAILED;
        }
        const int ready = waitFor(fd_, POLLOUT, timeoutMs_);
        int error = 0;
        socklen_t size = sizeof(error);
        if (ready == 0) {
            disconnect();
            return CONNECT_TIMEOUT;
        }
        if (ready < 0 || ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) {
            disconnect();
            return CONNECT_FAILED;
        }
    }
    const int flags = ::fcntl(fd_, F_GETFL);
    ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
    const int noDelay = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof(noDelay));
    applySocketTimeouts();

    const TcpMsgHead request = makeBareHead(0, PHY_CONN_REQUEST);
    if (::send(fd_, &request, sizeof(request), MSG_NOSIGNAL) != static_cast<ssize_t>(sizeof(request))) {
        disconnect();
        return CONNECT_FAILED;
    }
    const int ready = waitFor(fd_, POLLIN, timeoutMs_);
    if (ready <= 0) {
        if (ready < 0)
            logf(logtext::kSelectRecvFailed, errno);
        disconnect();
        return ready == 0 ? CONNECT_TIMEOUT : CONNECT_FAILED;
    }
    TcpMsgHead accept{};
    const ssize_t got = ::recv(fd_, &accept, sizeof(accept), MSG_WAITALL);
    if (got != static_cast<ssize_t>(sizeof(accept)) || accept.phyType != PHY_CONN_ACCEPT) {
        disconnect();
        return CONNECT_FAILED;
    }
    connId_ = accept.connId & 0xFFFFu;
    return CONNECT_OK;
}

int TcpTransport::sendFrame(const LogicFields& fields, std::span<const std::uint8_t> body)
{
    if (fd_ < 0)
        return TCP_SOCKET_ERROR;
    try {
        buildDataFrame(connId_, fields, body, sendBuffer_);
    } catch (const std::bad_alloc&) {
        disconnect();
        return TCP_NO_MEMORY;
    }
    const int total = static_cast<int>(sendBuffer_.size());
    ssize_t sent;
    do {
        sent = ::send(fd_, sendBuffer_.data(), sendBuffer_.size(), MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    if (sent == total)
        return TCP_SUCCESS;
    if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        // Nothing left the socket: the stream is intact and the connection stays open.
        logText(logtext::kTimeout);
        return TCP_TIMEOUT;
    }
    if (sent < 0)
        logf(logtext::kSendFailed, errno);
    else
        logf(logtext::kShortSend, static_cast<int>(sent), total);
    disconnect();
    return TCP_SOCKET_ERROR;
}

int TcpTransport::failReceive(int code, TcpMessage& reply)
{
    disconnect();
    // Request code sees one uniform answer for a connection that is gone.
    reply.clear();
    reply.connId = connId_;
    reply.phyType = PHY_CONN_UNAVAILBLE;
    return code;
}

int TcpTransport::receiveFrame(TcpMessage& reply)
{
    if (fd_ < 0)
        return failReceive(TCP_SOCKET_ERROR, reply);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs_);
    bool firstRead = true;
    for (;;) {
        FrameParser::Status status;
        try {
            status = parser_.next(reply);
        } catch (const std::bad_alloc&) {
            logText(logtext::kNoMemory);
            return failReceive(TCP_NO_MEMORY, reply);
        }
        if (status == FrameParser::Status::Frame) {
            // The server has let us go: nothing more will come on this socket.
            if (reply.phyType == PHY_CONN_UNAVAILBLE)
                disconnect();
            return TCP_SUCCESS;
        }
        if (status == FrameParser::Status::Malformed) {
            logText(logtext::kLengthMismatch);
            return failReceive(TCP_MALFORMED_FRAME, reply);
        }
        const FramePhase phase = parser_.phase();
        if (!firstRead) {
            // Each read waits up to the time-out; a peer that trickles bytes is cut off here.
            if (Clock::now() >= deadline) {
                logText(logtext::kTimeout);
                return failReceive(TCP_TIMEOUT, reply);
            }
            if (phase == FramePhase::Body)
                logText(logtext::kBodyContinues);
        }
        firstRead = false;
        const std::size_t before = parser_.buffered();
        ssize_t got;
        do {
            got = ::recv(fd_, receiveBuffer_.data(), receiveBuffer_.size(), 0);
        } while (got < 0 && errno == EINTR);
        if (got > 0) {
            try {
                parser_.feed(receiveBuffer_.data(), static_cast<std::size_t>(got));
            } catch (const std::bad_alloc&) {
                logText(logtext::kNoMemory);
                return failReceive(TCP_NO_MEMORY, reply);
            }
            continue;
        }
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            logText(logtext::kTimeout);
            return failReceive(TCP_TIMEOUT, reply);
        }
        const int error = got < 0 ? errno : 0;
        switch (phase) {
        case FramePhase::Head:
            if (got == 0 && before > 0)
                logf(logtext::kShortHead, static_cast<int>(before));
            else
                logf(got == 0 ? logtext::kRecvZero : logtext::kRecvFailed, error);
            return failReceive(TCP_SOCKET_ERROR, reply);
        case FramePhase::LogicHead:
            logf(logtext::kShortLogicHead, static_cast<int>(before - kTcpMsgHeadSize));
            return failReceive(got == 0 ? TCP_MALFORMED_FRAME : TCP_SOCKET_ERROR, reply);
        case FramePhase::Body:
            logText(got == 0 ? logtext::kBodyPeerClosed : logtext::kBodySocketError);
            return failReceive(TCP_SOCKET_ERROR, reply);
        }
    }
}

int TcpTransport::exchange(const LogicFields& fields, std::span<const std::uint8_t> body,
                           TcpMessage& reply)
{
    const int sent = sendFrame(fields, body);
    if (sent != TCP_SUCCESS) {
        reply.clear();
        reply.connId = connId_;
        reply.phyType = PHY_CONN_UNAVAILBLE;
        return sent;
    }
    const int received = receiveFrame(reply);
    if (received != TCP_SUCCESS)
        logf(logtext::kReceiveFailed, received);
    return received;
}

}  // namespace vestrel::fax
