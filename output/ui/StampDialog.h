#pragma once
// "图章" (dialog 258): the stamps of the stamp folder as 180 × 50 thumbnails; OK takes the
// chosen one (with several chosen, the last).

#include <QDialog>

#include <filesystem>

class QListWidget;

namespace vestrel {
class Prompter;
}

namespace vestrel::output {

class StampDialog : public QDialog {
    Q_OBJECT
public:
    StampDialog(Prompter& prompter, std::filesystem::path folder, QWidget* parent = nullptr);

    QListWidget* stampList() const { return list_; }  // list 1028
    // The chosen stamp file (after OK).
    const std::filesystem::path& chosenPath() const { return chosen_; }

    // Refused, with the dialog kept open, while nothing is chosen.
    void accept() override;

private:
    Prompter& prompter_;
    std::filesystem::path folder_;
    QListWidget* list_;
    std::filesystem::path chosen_;
};

}  // namespace vestrel::output
