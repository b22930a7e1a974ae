// The HTML-printing service and the converter's client of it, on the wire, with a print
// function of the test's own in place of LibreOffice.

#include "ConverterFixture.h"
#include "HtmlAdapter.h"
#include "HtmlPrintService.h"

#include <mutex>
#include <thread>

namespace vestrel::doctiff::testing {
namespace {

class RunningService {
public:
    explicit RunningService(HtmlPrintService::PrintFunction print) : service_(std::move(print)) {
        EXPECT_TRUE(service_.Listen(0)) << service_.error();
        thread_ = std::thread([this] { service_.Serve(); });
    }
    ~RunningService() {
        service_.Stop();
        thread_.join();
    }
    int port() const { return service_.port(); }

private:
    HtmlPrintService service_;
    std::thread thread_;
};

TEST(HtmlService, PrintsTheRequestedPathAndAnswersWhetherItWasPrinted) {
    std::mutex mutex;
    std::vector<std::string> asked;
    RunningService service([&](const std::string& path) {
        std::lock_guard lock(mutex);
        asked.push_back(path);
        return path.find("good") != std::string::npos;
    });
    HtmlAdapterOptions options;
    options.port = service.port();
    options.retryPause = std::chrono::milliseconds(10);
    std::vector<std::string> reports;
    HtmlAdapter client(options, nullptr, [&](const std::string& t) { reports.push_back(t); });
    ASSERT_TRUE(client.Connect());
    EXPECT_TRUE(client.Print("/pages/good.html"));
    EXPECT_FALSE(client.Print("/pages/bad.html"));
    // 239 characters and the NUL fill the body exactly; one more is refused unsent.
    const std::string longest = "/good" + std::string(229, 'g') + ".html";
    ASSERT_EQ(longest.size(), 239u);
    EXPECT_TRUE(client.Print(longest));
    EXPECT_FALSE(client.Print(longest + "l"));
    std::lock_guard lock(mutex);
    EXPECT_EQ(asked, (std::vector<std::string>{"/pages/good.html", "/pages/bad.html", longest}));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("240-byte"), std::string::npos);
}

TEST(HtmlService, AClientThatCannotReachTheServiceGivesUpAfterItsAttempts) {
    HtmlAdapterOptions options;
    options.port = FreeLoopbackPort();
    options.attempts = 2;
    options.retryPause = std::chrono::milliseconds(50);
    std::vector<std::string> reports;
    HtmlAdapter client(options, nullptr, [&](const std::string& t) { reports.push_back(t); });
    EXPECT_FALSE(client.Connect());
    EXPECT_FALSE(client.Print("/pages/good.html"));
    ASSERT_FALSE(reports.empty());
    EXPECT_NE(reports.back().find("after 2 attempts"), std::string::npos);
}

}  // namespace
}  // namespace vestrel::doctiff::testing
