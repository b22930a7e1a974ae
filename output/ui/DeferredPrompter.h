#pragma once
// The Prompter a conversion gets on its worker thread. Message boxes belong to the UI
// thread, so the messages are kept here and shown there once the job is over. The
// conversions only ever tell; a question asked here gets the answer that stops things.

#include "Prompter.h"

#include <string>
#include <vector>

namespace vestrel::output {

class DeferredPrompter final : public Prompter {
public:
    struct Message {
        std::string text;
        std::string caption;
        MessageKind kind;
    };

    const std::vector<Message>& messages() const { return messages_; }
    // Shows every kept message through `target`, in the order they came, and forgets them.
    void replayTo(Prompter& target);

    std::optional<std::vector<std::string>> openFiles(const FileDialogOptions&) override
    {
        return std::nullopt;
    }
    std::optional<std::string> saveFile(const FileDialogOptions&) override { return std::nullopt; }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override
    {
        return std::nullopt;
    }
    std::optional<Colour> chooseColour(const Colour&) override { return std::nullopt; }
    std::optional<FontChoice> chooseFont(const FontChoice&) override { return std::nullopt; }

protected:
    void showMessage(const std::string& text, const std::string& caption, MessageKind kind) override
    {
        messages_.push_back({text, caption, kind});
    }
    Answer showYesNo(const std::string&, const std::string&, MessageKind) override
    {
        return Answer::No;
    }
    Answer showYesNoCancel(const std::string&, const std::string&, MessageKind) override
    {
        return Answer::Cancel;
    }

private:
    std::vector<Message> messages_;
};

}  // namespace vestrel::output
