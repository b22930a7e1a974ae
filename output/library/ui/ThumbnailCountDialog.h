#pragma once
// The "缩略图个数" dialog: one field with the number of thumbnails of the grid. OK with a
// number outside 1..65536 (or no number) says so and keeps the dialog open.

#include "Prompter.h"

#include <QDialog>

#include <optional>

class QLineEdit;

namespace vestrel::library {

class ThumbnailCountDialog : public QDialog {
    Q_OBJECT
public:
    ThumbnailCountDialog(Prompter& prompter, int current, QWidget* parent = nullptr);

    QLineEdit* field() const { return field_; }
    // The accepted count (after OK).
    int count() const { return count_; }

    // Shows the dialog; the new count, or nothing when cancelled.
    static std::optional<int> ask(Prompter& prompter, int current, QWidget* parent);

public slots:
    // The OK button: takes the field when it holds an allowed count.
    void accept() override;

private:
    Prompter& prompter_;
    QLineEdit* field_ = nullptr;
    int count_ = 0;
};

}  // namespace vestrel::library
