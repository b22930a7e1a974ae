#pragma once
// A Prompter for tests: records every text it is shown and answers from a queue that the
// test fills beforehand. A question nobody scripted, or an answer of the wrong kind, fails
// the test; so does a scripted answer left unused when the prompter goes away.

#include "Prompter.h"

#include <deque>
#include <string>
#include <variant>
#include <vector>

namespace vestrel::testkit {

class ScriptedPrompter final : public Prompter {
public:
    struct Shown {
        std::string kind;  // "message", "yesno", "yesnocancel", "open", "save", "folder", "colour", "font"
        std::string text;
        std::string caption;
    };

    ~ScriptedPrompter() override;

    // Queue answers, in the order the questions will come.
    ScriptedPrompter& answer(Answer a);
    ScriptedPrompter& answerFiles(std::optional<std::vector<std::string>> files);
    ScriptedPrompter& answerPath(std::optional<std::string> path);  // save and folder dialogs
    ScriptedPrompter& answerColour(std::optional<Colour> colour);
    ScriptedPrompter& answerFont(std::optional<FontChoice> font);

    const std::vector<Shown>& shown() const { return shown_; }
    std::vector<std::string> texts() const;
    bool showed(const std::string& text) const;
    void clear() { shown_.clear(); }

    std::optional<std::vector<std::string>> openFiles(const FileDialogOptions& options) override;
    std::optional<std::string> saveFile(const FileDialogOptions& options) override;
    std::optional<std::string> chooseFolder(const std::string& title,
                                            const std::string& directory) override;
    std::optional<Colour> chooseColour(const Colour& initial) override;
    std::optional<FontChoice> chooseFont(const FontChoice& initial) override;

protected:
    void showMessage(const std::string& text, const std::string& caption, MessageKind kind) override;
    Answer showYesNo(const std::string& text, const std::string& caption, MessageKind kind) override;
    Answer showYesNoCancel(const std::string& text, const std::string& caption,
                           MessageKind kind) override;

private:
    using Scripted = std::variant<Answer, std::optional<std::vector<std::string>>,
                                  std::optional<std::string>, std::optional<Colour>,
                                  std::optional<FontChoice>>;
    template <typename T> T take(const std::string& kind, const std::string& text, T fallback);

    std::deque<Scripted> queue_;
    std::vector<Shown> shown_;
};

}  // namespace vestrel::testkit
