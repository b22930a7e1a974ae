#include "HtmlPrintService.h"

#include "FaxPrinter.h"
#include "FrameParser.h"
#include "HtmlPrintProtocol.h"
#include "SourceType.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <thread>

namespace vestrel::doctiff {
namespace {

std::mutex printMutex;  // LibreOffice and the scratch TIFF serve one page at a time

bool SendAll(int fd, const void* data, size_t size) {
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::send(fd, p, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool PrintWithFaxPrinter(const std::string& path) {
    // Anyone on this machine can reach the port: print only what is plainly a web page,
    // never an arbitrary file named by a stranger.
    std::error_code ec;
    if (path.empty() || path[0] != '/' || ClassifySource(path) != SourceKind::WebPage ||
        !std::filesystem::is_regular_file(path, ec))
        return false;
    PrintJob job;
    job.document = path;
    job.kind = OfficeKind::Html;
    std::string error;
    return PrintToFaxPrinter(job, error);
}

}  // namespace

HtmlPrintService::HtmlPrintService(PrintFunction print)
    : print_(print ? std::move(print) : PrintFunction(PrintWithFaxPrinter)) {}

bool HtmlPrintService::Listen(int port) {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int yes = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (listenFd_ < 0 || ::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listenFd_, 16) != 0 ||
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        error_ = std::string("cannot listen on 127.0.0.1:") + std::to_string(port) + ": " + std::strerror(errno);
        return false;
    }
    port_ = ntohs(address.sin_port);
    return true;
}

void HtmlPrintService::Serve() {
    unsigned nextId = 1;
    while (!stop_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (::poll(&p, 1, 200) <= 0) continue;
        const int client = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        std::thread([this, client, id = nextId++] { ServeClient(client, id); }).detach();
    }
    ::close(listenFd_);
}

void HtmlPrintService::ServeClient(int fd, unsigned id) {
    fax::FrameParser parser(fax::FrameLimits{4096});
    bool accepted = false;
    char buffer[1024];
    for (;;) {
        fax::TcpMessage message;
        const auto status = parser.next(message);
        if (status == fax::FrameParser::Status::Malformed) break;
        if (status == fax::FrameParser::Status::NeedMore) {
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            parser.feed(buffer, static_cast<size_t>(n));
            continue;
        }
        if (!accepted) {
            if (message.phyType != fax::PHY_CONN_REQUEST) break;
            const fax::TcpMsgHead accept = fax::makeBareHead(id & 0xFFFFu, fax::PHY_CONN_ACCEPT);
            if (!SendAll(fd, &accept, sizeof accept)) break;
            accepted = true;
            continue;
        }
        if (message.phyType != fax::PHY_MSG_SENDDATA || message.msgType != REQ_HTML_PRINT) break;
        // The path is the body up to its NUL; a body without one is no path.
        std::int32_t printed = 0;
        const auto nul = std::find(message.body.begin(), message.body.end(), 0);
        if (nul != message.body.end() && nul != message.body.begin()) {
            const std::string path(message.body.begin(), nul);
            std::lock_guard lock(printMutex);
            printed = print_(path) ? 1 : 0;
        }
        std::vector<std::uint8_t> body(sizeof printed);
        std::memcpy(body.data(), &printed, sizeof printed);
        std::vector<std::uint8_t> frame;
        fax::buildDataFrame(id & 0xFFFFu, fax::LogicFields{REQ_HTML_PRINT_ACK, 0, fax::SEG_WHOLE}, body, frame);
        if (!SendAll(fd, frame.data(), frame.size())) break;
    }
    ::close(fd);
}

}  // namespace vestrel::doctiff
