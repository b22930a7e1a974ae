// The worker of the composition dialog apart from the dialog: one job at a time, cancel
// reaching the work, messages shown on the UI thread after finished(), and a job that
// throws told rather than lost.

#include "ConversionJob.h"
#include "PdfMessages.h"
#include "UiTestSupport.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace vestrel::output {
namespace {

class ConversionJobTest : public ::testing::Test {
protected:
    void SetUp() override { testkit::TestApp(); }
    testkit::UiThreadPrompter prompter;
};

TEST_F(ConversionJobTest, CancelReachesTheWorkAndMessagesComeAfterTheEnd)
{
    ConversionJob job(prompter);
    std::vector<int> progress;
    bool finished = false;
    std::size_t messagesAtFinish = 99;
    QObject::connect(&job, &ConversionJob::progressed, [&](int done, int) { progress.push_back(done); });
    QObject::connect(&job, &ConversionJob::finished, [&] {
        finished = true;
        messagesAtFinish = prompter.script.shown().size();
    });

    std::promise<void> cancelled;
    std::shared_future<void> cancelSeen = cancelled.get_future().share();
    std::thread::id workerThread;
    ASSERT_TRUE(job.start([&](Prompter& messages, const ConversionProgress& report) {
        workerThread = std::this_thread::get_id();
        ConversionResult result;
        for (int page = 1; page <= 1000; ++page) {
            result.pages = page;
            if (page == 2)
                cancelSeen.wait();  // held until the test has cancelled
            if (!report(page, 1000)) {
                result.cancelled = true;
                break;
            }
        }
        messages.message("done with it", kPromptCaption);
        return result;
    }));
    EXPECT_TRUE(job.isRunning());
    EXPECT_FALSE(job.start([](Prompter&, const ConversionProgress&) { return ConversionResult{}; }));
    ASSERT_TRUE(testkit::WaitFor([&] { return !progress.empty(); }));
    job.cancel();
    cancelled.set_value();

    ASSERT_TRUE(testkit::WaitFor([&] { return finished; }));
    EXPECT_NE(workerThread, std::this_thread::get_id());
    EXPECT_TRUE(job.result().cancelled);
    EXPECT_EQ(job.result().pages, 2);
    EXPECT_EQ(messagesAtFinish, 0u);
    EXPECT_EQ(prompter.script.texts(), std::vector<std::string>{"done with it"});
    EXPECT_EQ(prompter.offThreadCalls, 0);
    EXPECT_FALSE(job.isRunning());

    // waitForFinished ends a job on the spot, finished() included.
    progress.clear();
    finished = false;
    ASSERT_TRUE(job.start([](Prompter&, const ConversionProgress& report) {
        report(1, 1);
        return ConversionResult{};
    }));
    job.waitForFinished();
    EXPECT_TRUE(finished);
    EXPECT_FALSE(job.result().cancelled);
}

TEST_F(ConversionJobTest, AJobThatThrowsIsToldAndEnds)
{
    ConversionJob job(prompter);
    ASSERT_TRUE(job.start([](Prompter&, const ConversionProgress&) -> ConversionResult {
        throw std::runtime_error("no memory left");
    }));
    job.waitForFinished();
    EXPECT_FALSE(job.isRunning());
    EXPECT_EQ(prompter.script.texts(),
              std::vector<std::string>{std::string(kConversionFailed) + "no memory left"});
}

}  // namespace
}  // namespace vestrel::output
