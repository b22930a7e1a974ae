// wimbrel-script as people run it: registration into a registry file, a script against
// the fake fax server, and what it prints and exits with when something is wrong.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "ComponentFixture.h"
#include "RegistryFile.h"
#include "Script.h"

namespace vestrel::faxcomtest {
namespace {

using wimbrelscript::ParseError;
using wimbrelscript::ParseScript;
using wimbrelscript::Statement;

struct HostRun {
    int exitCode = -1;
    std::string output;
};

class ScriptHostTest : public ComponentTest {
protected:
    std::string Registry() const { return (folder.path() / "reg" / "registry.reg").string(); }

    HostRun Host(const std::string& arguments) const
    {
        const std::string command = std::string(WIMBREL_SCRIPT_PATH) + " --registry " + Registry() + " " + arguments +
                                    " 2>&1";
        HostRun run;
        FILE* pipe = ::popen(command.c_str(), "r");
        char buffer[512];
        while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr)
            run.output += buffer;
        const int status = pipe != nullptr ? ::pclose(pipe) : -1;
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
    }

    HostRun Script(const std::string& text) const { return Host(WriteFile("script.txt", text)); }

    void Register()
    {
        const HostRun run = Host("--register " WIMBREL_LIBRARY_PATH);
        ASSERT_EQ(run.exitCode, 0) << run.output;
        ASSERT_EQ(run.output, "register " WIMBREL_LIBRARY_PATH " -> 0x00000000 S_OK\n");
        // The component wrote its own absolute path where the host looks for it.
        com::RegistryFile registry;
        std::string error;
        ASSERT_TRUE(registry.Load(Registry(), error)) << error;
        const auto server = com::FindInprocServer(registry, "Wimbrel.FaxClientX.1");
        ASSERT_TRUE(server);
        EXPECT_EQ(std::filesystem::canonical(server->modulePath), std::filesystem::canonical(WIMBREL_LIBRARY_PATH));
    }
};

TEST_F(ScriptHostTest, AScriptLogsInSendsAndReadsResultsByName)
{
    Register();
    const std::string document = WriteFile("page.tif", "tiff bytes");
    const HostRun run = Script("# send one fax and read its first result\n"
                           "client = create Wimbrel.FaxClientX\n"
                           "task = create Wimbrel.SendTask.1\n"
                           "record = create Wimbrel.ResultTask\n"
                           "client.OpenConnectionEx(&cid, \"127.0.0.1\", " + std::to_string(port) +
                           ", \"alice\", \"secret\", 0)\n"
                           "task.AddCalled(\"010-1234\", 41)\n"
                           "task.addcalled(\"0123456789012345678901234567\", 42)\n"
                           "n = task.Count\n"
                           "client.SendFaxToServer(cid, \"" + document + "\", 1, task, n, &job, &result)\n"
                           "task.Count\n"
                           "client.QueryResultTaskByJobNoTaskId(cid, job, 41, record, &result)\n"
                           "record.TaskId\n"
                           "record.Result = -2\n"
                           "r = record.Result\n"
                           "client.CloseConnection(cid, &result)\n");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output, "client = create Wimbrel.FaxClientX -> 0x00000000 S_OK\n"
                          "task = create Wimbrel.SendTask.1 -> 0x00000000 S_OK\n"
                          "record = create Wimbrel.ResultTask -> 0x00000000 S_OK\n"
                          "client.OpenConnectionEx -> 0x00000000 S_OK\n"
                          "  cid = 0\n"
                          "task.AddCalled -> 0x00000000 S_OK\n"
                          "task.addcalled -> 0x00000001 S_FALSE\n"
                          "task.Count -> 0x00000000 S_OK\n"
                          "  n = 1\n"
                          "client.SendFaxToServer -> 0x00000000 S_OK\n"
                          "  job = \"J00000001\"\n"
                          "  result = 0\n"
                          "task.Count -> 0x00000000 S_OK\n"
                          "  Count = 0\n"
                          "client.QueryResultTaskByJobNoTaskId -> 0x00000000 S_OK\n"
                          "  result = 0\n"
                          "record.TaskId -> 0x00000000 S_OK\n"
                          "  TaskId = 41\n"
                          "record.Result -> 0x00000000 S_OK\n"
                          "record.Result -> 0x00000000 S_OK\n"
                          "  r = -2\n"
                          "client.CloseConnection -> 0x00000000 S_OK\n"
                          "  result = 0\n");
    const auto jobs = server.jobs();
    ASSERT_EQ(jobs.size(), 1u);
    ASSERT_EQ(jobs[0].destinations.size(), 1u);
    EXPECT_EQ(server.uploadedFiles().at("SendFax\\J00000001.tif").size(), 10u);
}

TEST_F(ScriptHostTest, FailuresStopTheScriptWithTheirHresult)
{
    Register();
    HostRun run = Script("task = create Wimbrel.SendTask\n"
                     "task.AddCalled(\"1\", \"seven\")\n"
                     "task.Clear()\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "task = create Wimbrel.SendTask -> 0x00000000 S_OK\n"
                          "task.AddCalled -> 0x80020005 DISP_E_TYPEMISMATCH\n"
                          "line 2: argument 2 does not fit its parameter\n");

    run = Script("task = create Wimbrel.SendTask\ntask.Send()\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("task.Send -> 0x80020006 DISP_E_UNKNOWNNAME\n"), std::string::npos) << run.output;

    run = Script("x = create Wimbrel.Nothing\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("x = create Wimbrel.Nothing -> 0x80040111 CLASS_E_CLASSNOTAVAILABLE\n"),
              std::string::npos)
        << run.output;

    run = Script("task = create Wimbrel.SendTask\ntask.AddCalled(\"1\" 2)\n");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.output.find(":2: expected , or ) after an argument"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("create"), std::string::npos) << "nothing runs before the whole script parses";

    const HostRun unregistered = Host("--unregister " WIMBREL_LIBRARY_PATH);
    EXPECT_EQ(unregistered.exitCode, 0) << unregistered.output;
    run = Script("task = create Wimbrel.SendTask\n");
    EXPECT_EQ(run.exitCode, 1) << "unregistered classes cannot be made";
}

TEST(ScriptParser, ReadsEveryStatementForm)
{
    std::vector<Statement> statements;
    ParseError error;
    ASSERT_TRUE(ParseScript("a = create Some.Thing.1  # made\n"
                            "\n"
                            "a.Do(1, -2.5, \"t\\\"x\\\\\", b, &c)\n"
                            "n = a.Count\n"
                            "a.Count\n"
                            "a.Name = \"z\"\n",
                            statements, error))
        << error.message;
    ASSERT_EQ(statements.size(), 5u);
    EXPECT_EQ(statements[0].kind, Statement::Kind::Create);
    EXPECT_EQ(statements[0].progId, "Some.Thing.1");
    EXPECT_EQ(statements[1].kind, Statement::Kind::Call);
    EXPECT_EQ(statements[1].line, 3);
    ASSERT_EQ(statements[1].arguments.size(), 5u);
    EXPECT_EQ(statements[1].arguments[1].number, -2.5);
    EXPECT_EQ(statements[1].arguments[2].text, "t\"x\\");
    EXPECT_EQ(statements[1].arguments[4].kind, wimbrelscript::Argument::Kind::OutName);
    EXPECT_EQ(statements[2].kind, Statement::Kind::Get);
    EXPECT_EQ(statements[2].target, "n");
    EXPECT_EQ(statements[3].kind, Statement::Kind::Get);
    EXPECT_TRUE(statements[3].target.empty());
    EXPECT_EQ(statements[4].kind, Statement::Kind::Put);

    EXPECT_FALSE(ParseScript("a.Do(\"open\n", statements, error));
    EXPECT_EQ(error.message, "text without its closing quote");
    EXPECT_FALSE(ParseScript("ok.Fine()\na.Do(99999999999)\n", statements, error));
    EXPECT_EQ(error.line, 2);
    EXPECT_FALSE(ParseScript("a.Name = &b\n", statements, error));
    EXPECT_FALSE(ParseScript("a = create\n", statements, error));
    EXPECT_FALSE(ParseScript("a.Do() extra\n", statements, error));
}

}  // namespace
}  // namespace vestrel::faxcomtest
