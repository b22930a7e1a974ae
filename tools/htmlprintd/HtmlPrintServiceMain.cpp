// vestrel_htmlprintd: the local HTML-printing service of the document converter.
//
//   vestrel_htmlprintd [--port N]      (default 1570, on 127.0.0.1 only)
//
// Started by libsorrelby when nothing listens; ends on SIGTERM or SIGINT.

#include "HtmlPrintProtocol.h"
#include "HtmlPrintService.h"

#include <csignal>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

vestrel::doctiff::HtmlPrintService* running = nullptr;

void StopOnSignal(int) {
    if (running) running->Stop();
}

}  // namespace

int main(int argc, char** argv) {
    int port = vestrel::doctiff::kHtmlPrintPort;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--port" && i + 1 < argc) {
            port = std::atoi(argv[++i]);
            if (port < 1 || port > 65535) port = -1;
        } else {
            port = -1;
        }
        if (port < 0) {
            std::fprintf(stderr, "usage: vestrel_htmlprintd [--port N]\n");
            return 2;
        }
    }
    std::signal(SIGPIPE, SIG_IGN);
    // The printed pages are the user's documents: readable by the user alone.
    ::umask(077);
    vestrel::doctiff::HtmlPrintService service;
    if (!service.Listen(port)) {
        std::fprintf(stderr, "vestrel_htmlprintd: %s\n", service.error().c_str());
        return 1;
    }
    running = &service;
    std::signal(SIGTERM, StopOnSignal);
    std::signal(SIGINT, StopOnSignal);
    service.Serve();
    return 0;
}
