// F11 on an X11 desktop: the program, running on an X server of its own (Xvfb), holds the
// key for the whole desktop, so no other client can take it; once the program has ended
// the key is free again. Skipped where Xvfb is not installed.

#include "GlobalHotKey.h"
#include "QtTestApp.h"
#include "TempProgramDir.h"
#include "TestDataPath.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QUuid>

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using vestrel::testkit::ProgramDirTest;
using vestrel::testkit::WaitFor;

namespace {

// An X server of the test's own; the server picks a free display number and tells it.
class VirtualDisplay {
public:
    VirtualDisplay()
    {
        int fds[2];
        if (::pipe(fds) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0",
                     "800x600x24", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        std::string number;
        pollfd wait{fds[0], POLLIN, 0};
        char c = 0;
        while (pid_ > 0 && ::poll(&wait, 1, 10000) > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        ::close(fds[0]);
        if (!number.empty()) name_ = ":" + number;
    }
    ~VirtualDisplay()
    {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    const std::string& name() const { return name_; }  // empty when no server started

private:
    pid_t pid_ = -1;
    std::string name_;
};

// Whether another client may grab F11 on the root window now (it lets go at once).
bool F11IsFree(xcb_connection_t* c, xcb_window_t root, xcb_keycode_t key)
{
    const xcb_void_cookie_t cookie =
        xcb_grab_key_checked(c, 1, root, 0, key, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
        const bool someoneHasIt = error->error_code == XCB_ACCESS;
        std::free(error);
        return !someoneHasIt;
    }
    xcb_ungrab_key(c, key, root, 0);
    xcb_flush(c);
    return true;
}

// Whether some window on the display is shown: the program grabs the key before it shows
// its main window, and a probe of the grab must not race the program's own grab.
bool AWindowIsShown(xcb_connection_t* c, xcb_window_t root)
{
    bool shown = false;
    if (xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr)) {
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree) && !shown; ++i) {
            xcb_get_window_attributes_reply_t* attributes =
                xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, children[i]), nullptr);
            shown = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
            std::free(attributes);
        }
        std::free(tree);
    }
    return shown;
}

class DesktopKeyTest : public ProgramDirTest {};

TEST_F(DesktopKeyTest, TheRunningProgramHoldsF11ForTheWholeDesktop)
{
    vestrel::testkit::TestApp();
    if (std::system("command -v Xvfb >/dev/null 2>&1") != 0) GTEST_SKIP() << "no Xvfb";
    VirtualDisplay display;
    ASSERT_FALSE(display.name().empty());
    xcb_connection_t* c = xcb_connect(display.name().c_str(), nullptr);
    ASSERT_EQ(xcb_connection_has_error(c), 0);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_keycode_t key = vestrel::X11Keycode(c, vestrel::kKeysymF11);
    ASSERT_NE(key, 0);
    EXPECT_TRUE(F11IsFree(c, root, key));

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VESTREL_HOME", QString::fromStdString(programDir.path().string()));
    env.insert("VESTREL_INSTANCE_SUFFIX", QUuid::createUuid().toString(QUuid::Id128));
    env.insert("VESTREL_CAMERA", "virtual");
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("DISPLAY", QString::fromStdString(display.name()));
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(QStringLiteral(VESTREL_STAGE_DIR "/vestrel"), {});
    ASSERT_TRUE(program.waitForStarted(5000));
    ASSERT_TRUE(WaitFor([&] { return AWindowIsShown(c, root); }, 30000)) << program.readAll().toStdString();
    EXPECT_FALSE(F11IsFree(c, root, key));
    EXPECT_EQ(program.state(), QProcess::Running) << program.readAll().toStdString();

    program.terminate();
    if (!program.waitForFinished(10000)) {
        program.kill();
        program.waitForFinished(2000);
    }
    EXPECT_TRUE(WaitFor([&] { return F11IsFree(c, root, key); }, 5000));
    xcb_disconnect(c);
}

}  // namespace
