// fakefaxserver: a fax server on loopback for trying faxctl and libquendle by hand.
//
//   fakefaxserver [--port N] [--account USER:SUB:PASSWORD]... [--inbox DIR] [--spool DIR]
//                 [--results USER:N] [--hold-results] [--fault KIND[:TYPE[:NTH[:DELAY_MS]]]]...

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "FakeFaxServer.h"

using vestrel::fakefax::Fault;
using vestrel::fakefax::FaultRule;

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void onSignal(int)
{
    stopRequested = 1;
}

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t cut = text.find(separator, start);
        parts.push_back(text.substr(start, cut - start));
        if (cut == std::string::npos)
            return parts;
        start = cut + 1;
    }
}

bool parseFault(const std::string& text, FaultRule& rule)
{
    static const std::pair<const char*, Fault> kNames[] = {
        {"refuse-handshake", Fault::RefuseHandshake}, {"silent-handshake", Fault::SilentHandshake},
        {"refuse", Fault::RefuseLogin}, {"already-live", Fault::LoginAlreadyLive},
        {"nak", Fault::Nak}, {"drop", Fault::Drop}, {"wrong-type", Fault::WrongType},
        {"wrong-phy", Fault::WrongPhysicalType}, {"length-mismatch", Fault::LengthMismatch},
        {"huge-length", Fault::HugeLength}, {"wrong-size", Fault::WrongBodySize},
        {"slow", Fault::Slow}, {"close-mid-frame", Fault::CloseMidFrame},
        {"render-failure", Fault::RenderFailure}, {"too-many", Fault::TooManyRecords},
        {"refuse-change", Fault::RefuseChange}, {"refuse-file", Fault::RefuseFile}};
    const std::vector<std::string> parts = split(text, ':');
    for (const auto& [name, fault] : kNames) {
        if (parts[0] == name) {
            rule.fault = fault;
            rule.onType = parts.size() > 1 ? static_cast<std::uint32_t>(std::atoi(parts[1].c_str())) : 0;
            rule.occurrence = parts.size() > 2 ? std::atoi(parts[2].c_str()) : 0;
            rule.delayMs = parts.size() > 3 ? std::atoi(parts[3].c_str()) : 2000;
            return true;
        }
    }
    return false;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: fakefaxserver [--port N] [--account USER:SUB:PASSWORD]... [--inbox DIR]\n"
                 "                     [--spool DIR] [--results USER:N] [--hold-results]\n"
                 "                     [--fault KIND[:TYPE[:NTH[:DELAY_MS]]]]...\n"
                 "faults: refuse-handshake silent-handshake refuse already-live nak drop wrong-type\n"
                 "        wrong-phy length-mismatch huge-length wrong-size slow close-mid-frame\n"
                 "        render-failure too-many refuse-change refuse-file\n"
                 "        (TYPE 0 = any request, NTH 0 = every time)\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    vestrel::fakefax::FakeFaxServer server;
    int port = 0;
    bool anyAccount = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc && option != "--hold-results")
            return usage();
        if (option == "--port") {
            port = std::atoi(argv[++i]);
        } else if (option == "--account") {
            const std::vector<std::string> parts = split(argv[++i], ':');
            if (parts.size() != 3)
                return usage();
            server.addAccount(parts[0], parts[1], parts[2]);
            anyAccount = true;
        } else if (option == "--inbox") {
            server.setInboxFolder(argv[++i]);
        } else if (option == "--spool") {
            server.setSpoolFolder(argv[++i]);
        } else if (option == "--results") {
            const std::vector<std::string> parts = split(argv[++i], ':');
            if (parts.size() != 2)
                return usage();
            server.addResults(parts[0], std::atoi(parts[1].c_str()));
        } else if (option == "--hold-results") {
            server.setHoldResults(true);
        } else if (option == "--fault") {
            FaultRule rule{};
            if (!parseFault(argv[++i], rule))
                return usage();
            server.addFault(rule);
        } else {
            return usage();
        }
    }
    if (!anyAccount)
        server.addAccount("demo", "0", "demo");
    server.setRecordBodies(false);
    if (server.start(port) < 0) {
        std::fprintf(stderr, "fakefaxserver: cannot listen on 127.0.0.1:%d: %s\n", port,
                     std::strerror(errno));
        return 1;
    }
    std::printf("listening on 127.0.0.1:%d\n", server.port());
    std::fflush(stdout);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    while (!stopRequested)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    server.stop();
    return 0;
}
