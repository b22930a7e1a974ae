#pragma once
// What the composition dialog's tests share: one QApplication, waiting on the event loop,
// and a Prompter that fails the test when it is used off the UI thread.

#include "ScriptedPrompter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

namespace vestrel::testkit {

inline QApplication& UiTestApp()
{
    static int argc = 1;
    static char name[] = "test_output_ui";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// Runs the event loop until `done` holds or `ms` pass; returns `done()`.
template <typename Done>
bool WaitFor(Done done, int ms = 20000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// A ScriptedPrompter that also checks every call comes from the UI thread.
class UiThreadPrompter final : public Prompter {
public:
    ScriptedPrompter script;
    int offThreadCalls = 0;

    std::optional<std::vector<std::string>> openFiles(const FileDialogOptions& options) override
    {
        check();
        return script.openFiles(options);
    }
    std::optional<std::string> saveFile(const FileDialogOptions& options) override
    {
        check();
        return script.saveFile(options);
    }
    std::optional<std::string> chooseFolder(const std::string& title,
                                            const std::string& directory) override
    {
        check();
        return script.chooseFolder(title, directory);
    }
    std::optional<Colour> chooseColour(const Colour& initial) override
    {
        check();
        return script.chooseColour(initial);
    }
    std::optional<FontChoice> chooseFont(const FontChoice& initial) override
    {
        check();
        return script.chooseFont(initial);
    }

protected:
    void showMessage(const std::string& text, const std::string& caption, MessageKind kind) override
    {
        check();
        script.message(text, caption, kind);
    }
    Answer showYesNo(const std::string& text, const std::string& caption, MessageKind kind) override
    {
        check();
        return script.askYesNo(text, caption, kind);
    }
    Answer showYesNoCancel(const std::string& text, const std::string& caption,
                           MessageKind kind) override
    {
        check();
        return script.askYesNoCancel(text, caption, kind);
    }

private:
    void check()
    {
        if (QThread::currentThread() != UiTestApp().thread())
            ++offThreadCalls;
    }
};

}  // namespace vestrel::testkit
