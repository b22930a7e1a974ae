#pragma once
// What the composition dialog's tests share: one QApplication, waiting on the event loop,
// and a Prompter that fails the test when it is used off the UI thread.

#include "QtTestApp.h"
#include "ScriptedPrompter.h"

#include <QThread>

#include <gtest/gtest.h>

namespace vestrel::testkit {

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
        if (QThread::currentThread() != TestApp().thread())
            ++offThreadCalls;
    }
};

}  // namespace vestrel::testkit
