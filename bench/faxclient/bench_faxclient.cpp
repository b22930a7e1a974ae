// Measures the fax client against the fake server on loopback and prints a table:
//   upload        a 10 MB document in 1024-byte stop-and-wait pieces
//   destinations  a job with 10,000 destinations (packets of 40)
//   results       a pull of 10,000 send results (batches of 50) and picking them all
//   login         connect, log in and close only (the baseline for count_syscalls.sh)
//
//   bench_faxclient [upload|destinations|results|login|all] [--repeat N]
//
// The client runs on the main thread and the server on others, so `strace -c` without -f
// counts the client's system calls alone (count_syscalls.sh does that).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FakeFaxServer.h"
#include "quendle.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Measure {
    const char* name;
    long exchanges;   // request/answer pairs of the measured call
    double bytes;     // payload moved, for the throughput column (0: none)
    std::vector<double> seconds;
};

// Each run logs in as an account of its own: the server may not have seen the previous
// run's connection close yet, and would refuse a second live login of one account.
int runNumber = 0;

int login(int port)
{
    int handle = -1;
    const std::string account = "bench" + std::to_string(runNumber++);
    const int result = OpenConnectionEx(&handle, "127.0.0.1", port, account.c_str(), "bench", 60000, 0);
    if (result != QUENDLE_OK) {
        std::fprintf(stderr, "bench_faxclient: login failed (%d)\n", result);
        std::exit(1);
    }
    return handle;
}

std::vector<FaxNumberEntry> numbers(int count)
{
    std::vector<FaxNumberEntry> entries(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        std::memset(&entries[static_cast<std::size_t>(i)], 0, sizeof(FaxNumberEntry));
        std::snprintf(entries[static_cast<std::size_t>(i)].faxNumber, 28, "0755-%08d", i);
        entries[static_cast<std::size_t>(i)].clientTaskId = i;
    }
    return entries;
}

double runUpload(int port, const std::filesystem::path& document)
{
    const int handle = login(port);
    auto list = numbers(1);
    char jobNo[16];
    const auto start = Clock::now();
    const int result = SendFaxToServer(handle, document.c_str(), 0, list.data(), 1, jobNo);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    CloseConnection(handle);
    if (result != QUENDLE_OK)
        std::fprintf(stderr, "upload failed: %d\n", result);
    return seconds;
}

double runDestinations(int port, const std::filesystem::path& document)
{
    const int handle = login(port);
    auto list = numbers(10000);
    char jobNo[16];
    const auto start = Clock::now();
    const int result = SendFaxToServer(handle, document.c_str(), 0, list.data(), 10000, jobNo);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    CloseConnection(handle);
    if (result != QUENDLE_OK)
        std::fprintf(stderr, "destinations failed: %d\n", result);
    return seconds;
}

double runResults(vestrel::fakefax::FakeFaxServer& server, int port)
{
    server.addResults("bench" + std::to_string(runNumber), 10000);
    const int handle = login(port);
    const auto start = Clock::now();
    int count = 0;
    const int result = QueryResultForNewTasks(handle, &count);
    ResultTask task;
    int picked = 0;
    while (PickResultTask(handle, &task) == QUENDLE_OK)
        ++picked;
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    CloseConnection(handle);
    if (result != QUENDLE_OK || picked != 10000)
        std::fprintf(stderr, "results failed: %d, %d picked\n", result, picked);
    return seconds;
}

double runLogin(int port)
{
    const auto start = Clock::now();
    CloseConnection(login(port));
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv)
{
    std::string which = "all";
    int repeat = 5;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc)
            repeat = std::max(1, std::atoi(argv[++i]));
        else
            which = argv[i];
    }
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("bench_faxclient_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    ::setenv("TOLVY_ROOT", folder.c_str(), 1);
    const auto big = folder / "big.tif";
    const auto small = folder / "small.tif";
    {
        std::vector<char> data(10 * 1024 * 1024);
        for (std::size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<char>(i * 31);
        std::ofstream(big, std::ios::binary).write(data.data(), static_cast<std::streamsize>(data.size()));
        std::ofstream(small, std::ios::binary) << "a small page";
    }

    vestrel::fakefax::FakeFaxServer server;
    for (int i = 0; i < 4 * repeat + 1; ++i)
        server.addAccount("bench" + std::to_string(i), "", "bench");
    server.setRecordBodies(false);
    const int port = server.start(0);

    // Exchanges: job number, file name, pieces (10 MB / 1 KB plus the empty last), job body,
    // destination packets; results: count, batches, end.
    std::vector<Measure> measures;
    if (which == "upload" || which == "all")
        measures.push_back({"upload 10 MB", 1 + 1 + 10241 + 1 + 1, 10.0 * 1024 * 1024, {}});
    if (which == "destinations" || which == "all")
        measures.push_back({"10,000 destinations", 1 + 1 + 1 + 1 + 250, 10000.0 * 32, {}});
    if (which == "results" || which == "all")
        measures.push_back({"pull 10,000 results", 1 + 200 + 1, 10000.0 * 48, {}});
    if (which == "login")
        measures.push_back({"login and close", 1, 0, {}});
    if (measures.empty()) {
        std::fprintf(stderr, "usage: bench_faxclient [upload|destinations|results|login|all] [--repeat N]\n");
        return 2;
    }
    for (Measure& m : measures) {
        for (int r = 0; r < repeat; ++r) {
            server.clearFrames();
            if (std::strncmp(m.name, "upload", 6) == 0)
                m.seconds.push_back(runUpload(port, big));
            else if (std::strncmp(m.name, "10,000", 6) == 0)
                m.seconds.push_back(runDestinations(port, small));
            else if (std::strncmp(m.name, "pull", 4) == 0)
                m.seconds.push_back(runResults(server, port));
            else
                m.seconds.push_back(runLogin(port));
        }
    }
    server.stop();
    std::filesystem::remove_all(folder);

    std::printf("%-22s %10s %12s %16s %12s\n", "scenario (median of N)", "exchanges", "total ms",
                "per exchange us", "MB/s");
    for (Measure& m : measures) {
        std::sort(m.seconds.begin(), m.seconds.end());
        const double median = m.seconds[m.seconds.size() / 2];
        std::printf("%-22s %10ld %12.1f %16.1f %12.2f\n", m.name, m.exchanges, median * 1000.0,
                    median * 1e6 / static_cast<double>(m.exchanges),
                    m.bytes > 0 ? m.bytes / (1024.0 * 1024.0) / median : 0.0);
    }
    std::printf("(N = %d runs each, loopback, server in the same process)\n", repeat);
    return 0;
}
