#pragma once
// The small dialogs of the main window: the file name of a scan (211), the digital zoom
// (256) and the about box (100).

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

class QLineEdit;
class QSlider;
class QSpinBox;

namespace vestrel {

class Prompter;

// "文件名": a base name judged by the scanning rules; refusals are told and the dialog stays.
class FileNameDialog : public QDialog {
    Q_OBJECT
public:
    FileNameDialog(Prompter& prompter, std::string extension, QWidget* parent = nullptr);
    QLineEdit* field() const { return field_; }
    const std::string& acceptedName() const { return accepted_; }
    void accept() override;

private:
    Prompter& prompter_;
    std::string extension_;
    QLineEdit* field_;
    std::string accepted_;
};

// "数码变焦": a slider 0..6 with an edit field. Every move applies the level at once;
// Cancel puts the former level back.
class ZoomDialog : public QDialog {
    Q_OBJECT
public:
    ZoomDialog(int level, std::function<void(int)> apply, QWidget* parent = nullptr);
    int level() const;
    void setLevel(int level);
    void reject() override;

private:
    int former_;
    std::function<void(int)> apply_;
    QSlider* slider_;
    QSpinBox* edit_;
};

void ShowAboutBox(QWidget* parent);

}  // namespace vestrel
