// F11 on an X11 desktop, on an X server of the tests' own (Xvfb; this executable runs on
// xcb, not offscreen): the running program holds the key for the whole desktop, so no other
// client can take it and it is free again once the program has ended; and a press on the
// desktop wakes the hidden main window. Skipped where Xvfb is not installed.

#include "CMainFrame.h"
#include "GlobalHotKey.h"
#include "QtTestApp.h"
#include "ScriptedPrompter.h"
#include "TempProgramDir.h"
#include "TestDataPath.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QUuid>

#include <gtest/gtest.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cstdlib>
#include <poll.h>
#include <string>
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
            // It ends by itself when its last client (this process) has gone.
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-terminate", "-screen",
                     "0", "800x600x24", static_cast<char*>(nullptr));
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

// The X server lives as long as the process: the application's connection to it does.
const std::string& Display()
{
    static const std::string name = [] {
        if (std::system("command -v Xvfb >/dev/null 2>&1") != 0) return std::string();
        static VirtualDisplay display;
        if (display.name().empty()) return std::string();
        ::setenv("DISPLAY", display.name().c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        vestrel::testkit::TestApp();
        return display.name();
    }();
    return name;
}

class DesktopKeyTest : public ProgramDirTest {
protected:
    void SetUp() override
    {
        if (Display().empty()) GTEST_SKIP() << "no Xvfb";
        c = xcb_connect(Display().c_str(), nullptr);
        ASSERT_EQ(xcb_connection_has_error(c), 0);
        root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        key = vestrel::X11Keycode(c, vestrel::kKeysymF11);
        ASSERT_NE(key, 0);
    }
    void TearDown() override
    {
        if (c) xcb_disconnect(c);
    }
    xcb_connection_t* c = nullptr;
    xcb_window_t root = 0;
    xcb_keycode_t key = 0;
};

TEST_F(DesktopKeyTest, TheRunningProgramHoldsF11ForTheWholeDesktop)
{
    EXPECT_TRUE(F11IsFree(c, root, key));

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VESTREL_HOME", QString::fromStdString(programDir.path().string()));
    env.insert("VESTREL_INSTANCE_SUFFIX", QUuid::createUuid().toString(QUuid::Id128));
    env.insert("VESTREL_CAMERA", "virtual");
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("DISPLAY", QString::fromStdString(Display()));
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
}

TEST_F(DesktopKeyTest, F11OnTheDesktopWakesTheHiddenWindow)
{
    vestrel::testkit::ScriptedPrompter prompter;
    {
        vestrel::CMainFrame frame(prompter, nullptr);
        frame.show();
        ASSERT_TRUE(WaitFor([&] { return AWindowIsShown(c, root); }));
        frame.hide();  // as it is while it sits in the tray
        ASSERT_TRUE(WaitFor([&] { return !AWindowIsShown(c, root); }));
        EXPECT_FALSE(F11IsFree(c, root, key));

        // A real key press on the desktop, through the X server's test extension.
        xcb_test_fake_input(c, XCB_KEY_PRESS, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(c, XCB_KEY_RELEASE, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(c);
        EXPECT_TRUE(WaitFor([&] { return frame.isVisible() && AWindowIsShown(c, root); }));
    }
    // The window gone, the key is the desktop's again.
    EXPECT_TRUE(WaitFor([&] { return F11IsFree(c, root, key); }, 5000));
}

}  // namespace
