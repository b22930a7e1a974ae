// faxctl as people and scripts run it: the server's answers on stdout, failures as a result
// code with its meaning and a non-zero exit.

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "FaxServerFixture.h"

namespace vestrel::faxtest {
namespace {

struct FaxctlRun {
    int exitCode = -1;
    std::string output;
};

class FaxctlTest : public FaxServerTest {
protected:
    FaxctlRun faxctl(const std::string& arguments, const std::string& password = kPassword)
    {
        const std::string command = std::string(FAXCTL_PATH) + " --server 127.0.0.1:" + std::to_string(port) +
                                    " --user " + kAccount + " --password " + password + " " + arguments + " 2>&1";
        FaxctlRun run;
        FILE* pipe = ::popen(command.c_str(), "r");
        char buffer[256];
        while (pipe != nullptr && std::fgets(buffer, sizeof(buffer), pipe) != nullptr)
            run.output += buffer;
        const int status = pipe != nullptr ? ::pclose(pipe) : -1;
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
    }
};

TEST_F(FaxctlTest, SendResultsReceiveAndInfo)
{
    const auto document = writeFile("page.tif", 2500);
    FaxctlRun run = faxctl("send " + document.string() + " 010-1234 5678");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output, "job J00000001: 2 destination(s) submitted\n");
    EXPECT_EQ(server.uploadedFiles().at("SendFax\\J00000001.tif").size(), 2500u);

    run = faxctl("results");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output.rfind("2 result(s) waiting\ntask 1: result 0, ", 0), 0u) << run.output;

    server.addReceivedFax(kAccount, "RecvFax\\in.tif", {'f', 'a', 'x'});
    run = faxctl("receive " + folder.path().string());
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(testkit::TempProgramDir::readFile(folder.path() / "in.tif"), "fax");

    run = faxctl("info");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("account: alice\n"), std::string::npos) << run.output;

    run = faxctl("passwd renewed");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(server.password(kAccount), "renewed");
}

TEST_F(FaxctlTest, FailuresPrintTheCodeAndItsMeaning)
{
    const auto png = writeFile("page.png", 10);
    FaxctlRun run = faxctl("send " + png.string() + " 123");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("faxctl: send failed: result -5: the document type is not accepted"), std::string::npos)
        << run.output;

    run = faxctl("info", "wrong");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("faxctl: login failed: result -1: "), std::string::npos) << run.output;

    const auto document = writeFile("page.tif", 10);
    run = faxctl("send " + document.string() + " +49-30");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("result -8: a fax number holds a character other than a digit or '-'"), std::string::npos)
        << run.output;

    run = faxctl("fly");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.output.find("usage: faxctl"), std::string::npos);
}

}  // namespace
}  // namespace vestrel::faxtest
