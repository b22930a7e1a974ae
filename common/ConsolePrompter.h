#pragma once
// The Prompter of a program without windows: every message goes to standard error on a
// line of its own; questions and file dialogs, which a script cannot answer, are
// declined.

#include "Prompter.h"

#include <ostream>

namespace vestrel {

class ConsolePrompter final : public Prompter {
public:
    explicit ConsolePrompter(std::ostream& out) : out_(out) {}

    std::optional<std::vector<std::string>> openFiles(const FileDialogOptions&) override { return {}; }
    std::optional<std::string> saveFile(const FileDialogOptions&) override { return {}; }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return {}; }
    std::optional<Colour> chooseColour(const Colour&) override { return {}; }
    std::optional<FontChoice> chooseFont(const FontChoice&) override { return {}; }

protected:
    void showMessage(const std::string& text, const std::string&, MessageKind) override
    {
        out_ << text << '\n' << std::flush;
    }
    Answer showYesNo(const std::string& text, const std::string& caption, MessageKind kind) override
    {
        showMessage(text, caption, kind);
        return Answer::No;
    }
    Answer showYesNoCancel(const std::string& text, const std::string& caption, MessageKind kind) override
    {
        showMessage(text, caption, kind);
        return Answer::Cancel;
    }

private:
    std::ostream& out_;
};

}  // namespace vestrel
