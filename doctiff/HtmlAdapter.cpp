#include "HtmlAdapter.h"

#include "Doc2TifMessages.h"
#include "HtmlPrintProtocol.h"
#include "LogFile.h"
#include "UserAlert.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>
#include <vector>

namespace vestrel::doctiff {
namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

HtmlAdapter::HtmlAdapter(HtmlAdapterOptions options, fax::LogFile* log, Reporter report)
    : options_(std::move(options)), log_(log), report_(std::move(report)),
      parser_(fax::FrameLimits{4096}) {}

HtmlAdapter::~HtmlAdapter() {
    Disconnect();
    if (service_.Running()) service_.Kill();  // ends only the service we started
}

void HtmlAdapter::Log(const std::string& text) {
    if (log_) log_->write(text);
}

void HtmlAdapter::Disconnect() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    parser_.reset();
}

bool HtmlAdapter::SendAll(const void* data, std::size_t size) {
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::send(fd_, p, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool HtmlAdapter::ReceiveFrame(fax::TcpMessage& message, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    for (;;) {
        const auto status = parser_.next(message);
        if (status == fax::FrameParser::Status::Frame) return true;
        if (status == fax::FrameParser::Status::Malformed) {
            Log("Meet Recv Wrong Msg, the Meg Length is inconsisitent...\r\n");
            return false;
        }
        pollfd p{fd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, RemainingMs(deadline));
        if (ready == 0) {
            Log("Meet select() for send timeout...\r\n");
            return false;
        }
        if (ready < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        char buffer[1024];
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            Log("Meet recv() retlen == 0...\r\n");
            return false;
        }
        parser_.feed(buffer, static_cast<std::size_t>(n));
    }
}

bool HtmlAdapter::ConnectOnce() {
    Disconnect();
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd_ < 0) return false;
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<std::uint16_t>(options_.port));
    if (::inet_pton(AF_INET, options_.host.c_str(), &peer.sin_addr) != 1) {
        Disconnect();
        return false;
    }
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0) {
        pollfd p{fd_, POLLOUT, 0};
        int error = 0;
        socklen_t size = sizeof error;
        if (errno != EINPROGRESS ||
            ::poll(&p, 1, static_cast<int>(options_.handshakeTimeout.count())) != 1 ||
            ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) {
            Disconnect();
            return false;
        }
    }
    const int noDelay = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    const fax::TcpMsgHead request = fax::makeBareHead(0, fax::PHY_CONN_REQUEST);
    fax::TcpMessage accept;
    if (!SendAll(&request, sizeof request) || !ReceiveFrame(accept, options_.handshakeTimeout) ||
        accept.phyType != fax::PHY_CONN_ACCEPT) {
        Disconnect();
        return false;
    }
    connId_ = accept.connId & 0xFFFFu;
    return true;
}

bool HtmlAdapter::Connect() {
    if (ConnectOnce()) return true;
    if (options_.serviceProgram.empty() || service_.Running()) return false;
    // Nothing listens: start the service that ships beside us, and give it a moment.
    if (!service_.Start({options_.serviceProgram, "--port", std::to_string(options_.port)})) {
        report_(fax::FormatText(messages::kHtmlServiceMissing, options_.port));
        return false;
    }
    const auto deadline = Clock::now() + options_.serviceStartup;
    while (Clock::now() < deadline) {
        if (service_.Finished()) break;  // it could not listen (port taken, ...)
        if (ConnectOnce()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    report_(fax::FormatText(messages::kHtmlServiceMissing, options_.port));
    return false;
}

bool HtmlAdapter::Exchange(const std::string& path, bool& printed) {
    std::vector<std::uint8_t> body(kHtmlPathBodySize, 0);
    std::memcpy(body.data(), path.data(), path.size());
    std::vector<std::uint8_t> frame;
    fax::buildDataFrame(connId_, fax::LogicFields{REQ_HTML_PRINT, kHtmlPrintFlag, fax::SEG_WHOLE},
                        body, frame);
    if (!SendAll(frame.data(), frame.size())) {
        Log(fax::FormatText("Failed to call Send(),WSAGetLastError() = %d\r\n", errno));
        return false;
    }
    fax::TcpMessage reply;
    if (!ReceiveFrame(reply, options_.replyTimeout)) return false;
    std::int32_t word = 0;
    printed = reply.phyType == fax::PHY_MSG_SENDDATA && reply.msgType == REQ_HTML_PRINT_ACK &&
              reply.firstWord(word) && word != 0;
    if (reply.msgType != REQ_HTML_PRINT_ACK)
        Log(fax::FormatText("Received unexpected message, MsgType = %d\r\n", static_cast<int>(reply.msgType)));
    return true;
}

bool HtmlAdapter::Print(const std::string& path) {
    if (path.size() + 1 > kHtmlPathBodySize) {
        report_(fax::FormatText(messages::kPathTooLong, path.c_str()));
        return false;
    }
    for (int attempt = 1; attempt <= options_.attempts; ++attempt) {
        if (fd_ < 0 && !Connect()) {
            if (attempt < options_.attempts) std::this_thread::sleep_for(options_.retryPause);
            continue;
        }
        bool printed = false;
        if (Exchange(path, printed)) return printed;
        // The exchange itself failed: reconnect after a pause and send again.
        Disconnect();
        if (attempt < options_.attempts) std::this_thread::sleep_for(options_.retryPause);
    }
    report_(fax::FormatText(messages::kHtmlRequestFailed, options_.attempts));
    return false;
}

}  // namespace vestrel::doctiff
