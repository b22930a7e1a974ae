#pragma once
// The Prompter of the desktop program: real Qt message boxes and dialogs, owned by a window.

#include "Prompter.h"

class QWidget;

namespace vestrel {

class QtPrompter final : public Prompter {
public:
    explicit QtPrompter(QWidget* parent) : parent_(parent) {}

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
    QWidget* parent_;
};

// Turns an old-style filter "Name|*.a;*.b|Other|*.c||" into Qt's "Name (*.a *.b);;Other (*.c)";
// a filter already in Qt's form comes back unchanged.
std::string ToQtFilter(const std::string& filter);

}  // namespace vestrel
