#pragma once
// The local HTML-printing service: accepts connections on 127.0.0.1, answers the
// handshake of the fax protocol, and for each REQ_HTML_PRINT prints the named web page
// through the fax printer (Writer's HTML import), answering REQ_HTML_PRINT_ACK with 1
// when the page was printed. One thread per connection; one print at a time.

#include <atomic>
#include <functional>
#include <string>

namespace vestrel::doctiff {

class HtmlPrintService {
public:
    // Prints one page; the default is the fax printer. Tests may replace it.
    using PrintFunction = std::function<bool(const std::string& path)>;
    explicit HtmlPrintService(PrintFunction print = {});

    // Binds 127.0.0.1:port (0 picks a free port); false with a reason in error().
    bool Listen(int port);
    int port() const { return port_; }
    // Serves until Stop() (from another thread or a signal handler).
    void Serve();
    void Stop() { stop_ = true; }
    const std::string& error() const { return error_; }

private:
    void ServeClient(int fd, unsigned id);

    PrintFunction print_;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::string error_;
};

}  // namespace vestrel::doctiff
