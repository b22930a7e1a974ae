#pragma once
// The converter's client of the HTML-printing service: a connection that lives from init
// to close, a request per web page, and the service started by us when nothing listens.

#include "ChildProcess.h"
#include "FrameParser.h"

#include <chrono>
#include <functional>
#include <string>

namespace vestrel::fax {
class LogFile;
}

namespace vestrel::doctiff {

struct HtmlAdapterOptions {
    std::string host = "127.0.0.1";
    int port = 1570;
    std::string serviceProgram;  // started when nothing listens; empty: never
    std::chrono::milliseconds handshakeTimeout{3000};
    std::chrono::milliseconds replyTimeout{120000};  // a print takes LibreOffice's time
    int attempts = 3;                                // sends of one request, in all
    std::chrono::milliseconds retryPause{5000};
    std::chrono::milliseconds serviceStartup{5000};
};

class HtmlAdapter {
public:
    using Reporter = std::function<void(const std::string&)>;
    HtmlAdapter(HtmlAdapterOptions options, fax::LogFile* log, Reporter report);
    ~HtmlAdapter();  // closes the connection; stops the service if we started it
    HtmlAdapter(const HtmlAdapter&) = delete;
    HtmlAdapter& operator=(const HtmlAdapter&) = delete;

    // Connects (starting the service if needed). The outcome does not stop the converter:
    // Print() tries again.
    bool Connect();
    // Asks the service to print the page; true when it answered "printed". A path that
    // does not fit the request is refused before anything is sent.
    bool Print(const std::string& path);
    bool StartedService() const { return service_.Running(); }

private:
    bool ConnectOnce();
    bool Exchange(const std::string& path, bool& printed);
    bool SendAll(const void* data, std::size_t size);
    bool ReceiveFrame(fax::TcpMessage& message, std::chrono::milliseconds limit);
    void Disconnect();
    void Log(const std::string& text);

    HtmlAdapterOptions options_;
    fax::LogFile* log_;
    Reporter report_;
    ChildProcess service_;
    int fd_ = -1;
    std::uint32_t connId_ = 0;
    fax::FrameParser parser_;
};

}  // namespace vestrel::doctiff
