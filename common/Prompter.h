#pragma once
// Everything the program asks of or tells the user goes through one Prompter: message
// boxes and the common dialogs. The desktop program shows real dialogs
// (common/ui/QtPrompter); tests use a scripted one. Core code only sees this interface.

#include <optional>
#include <string>
#include <vector>

namespace vestrel {

enum class MessageKind { Information, Warning, Error, Question };
enum class Answer { Ok, Yes, No, Cancel };

struct Colour {
    int red = 0, green = 0, blue = 0;
    bool operator==(const Colour&) const = default;
};

struct FontChoice {
    std::string faceName{};
    int height = 0;       // in pixels
    int weight = 400;     // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    Colour colour;
    bool operator==(const FontChoice&) const = default;
};

// A file filter in the old "Text|*.a;*.b|Text|*.c||" form or Qt's "Text (*.a *.b);;..."
// form; implementations accept both.
struct FileDialogOptions {
    std::string title{};
    std::string filter{};
    std::string directory{};
    std::string defaultName{};
    bool multiple = false;  // open dialogs only
};

class Prompter {
public:
    virtual ~Prompter() = default;

    // A message with an OK button.
    void message(const std::string& text, const std::string& caption = {},
                 MessageKind kind = MessageKind::Information)
    {
        showMessage(text, caption, kind);
    }
    // Yes or No.
    Answer askYesNo(const std::string& text, const std::string& caption = {},
                    MessageKind kind = MessageKind::Question)
    {
        return showYesNo(text, caption, kind);
    }
    // Yes, No or Cancel.
    Answer askYesNoCancel(const std::string& text, const std::string& caption = {},
                          MessageKind kind = MessageKind::Question)
    {
        return showYesNoCancel(text, caption, kind);
    }

    // The chosen paths, or nothing when the user cancelled.
    virtual std::optional<std::vector<std::string>> openFiles(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> saveFile(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> chooseFolder(const std::string& title,
                                                    const std::string& directory) = 0;
    virtual std::optional<Colour> chooseColour(const Colour& initial) = 0;
    virtual std::optional<FontChoice> chooseFont(const FontChoice& initial) = 0;

protected:
    virtual void showMessage(const std::string& text, const std::string& caption, MessageKind kind) = 0;
    virtual Answer showYesNo(const std::string& text, const std::string& caption, MessageKind kind) = 0;
    virtual Answer showYesNoCancel(const std::string& text, const std::string& caption,
                                   MessageKind kind) = 0;
};

}  // namespace vestrel
