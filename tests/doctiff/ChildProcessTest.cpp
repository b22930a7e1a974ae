// Ending what we started, and only that: a time-out ends the program and whatever it
// started in turn (LibreOffice's launcher starts the office process), while another
// instance of the same program, started by someone else, keeps running.

#include "ChildProcess.h"
#include "TempProgramDir.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <thread>

namespace vestrel::doctiff {
namespace {

// Running, as opposed to gone or a zombie waiting for its new parent to reap it.
bool Alive(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string pidText, name, state;
    if (!(stat >> pidText >> name >> state)) return false;
    return state != "Z" && state != "X";
}

TEST(ChildProcess, ATimeOutEndsTheProgramWithItsChildrenAndNothingElse) {
    testkit::TempProgramDir dir;
    // Someone else's "sleep", outside our process groups.
    const pid_t bystander = ::fork();
    if (bystander == 0) {
        ::setpgid(0, 0);
        ::execlp("sleep", "sleep", "30", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const std::string pidFile = (dir / "grandchild.pid").string();
    std::string error;
    const auto start = std::chrono::steady_clock::now();
    const int rc = RunProgram({"/bin/sh", "-c", "sleep 30 & echo $! > " + pidFile + "; wait"},
                              std::chrono::milliseconds(500), error);
    EXPECT_EQ(rc, -1);
    EXPECT_NE(error.find("did not finish"), std::string::npos) << error;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    pid_t grandchild = 0;
    std::ifstream(pidFile) >> grandchild;
    ASSERT_GT(grandchild, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(Alive(grandchild)) << "the program's own child is ended with it";
    EXPECT_TRUE(Alive(bystander)) << "another instance of the same program is left alone";
    ::kill(bystander, SIGKILL);
    ::waitpid(bystander, nullptr, 0);

    EXPECT_EQ(RunProgram({"/bin/sh", "-c", "exit 7"}, std::chrono::seconds(10), error), 7);
    EXPECT_EQ(RunProgram({(dir / "no-such-program").string()}, std::chrono::seconds(10), error), -1);
}

}  // namespace
}  // namespace vestrel::doctiff
