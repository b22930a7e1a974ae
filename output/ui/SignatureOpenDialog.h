#pragma once
// "文件解密" (dialog 212): picks a signature of the signature folder and unlocks it with its
// password ("插入"), or deletes it to the trash ("删除"). The rules are SignatureChooser's.

#include "SignatureChooser.h"

#include <QDialog>

#include <filesystem>
#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace vestrel {
class Prompter;
}

namespace vestrel::output {

class SignatureOpenDialog : public QDialog {
    Q_OBJECT
public:
    SignatureOpenDialog(Prompter& prompter, const std::filesystem::path& folder, signature::MoveToTrashFn moveToTrash,
                        QWidget* parent = nullptr);

    QComboBox* signatureList() const { return list_; }       // combo box 1029
    QLineEdit* passwordField() const { return password_; }   // edit 1000
    QPushButton* insertButton() const { return insert_; }    // button 3 "插入"
    QPushButton* deleteButton() const { return delete_; }    // button 1017 "删除"

    // The unlocked signature after "插入" succeeded (the dialog then closed with OK).
    std::unique_ptr<CxImage> takeMark() { return std::move(mark_); }

    void insertChosen();
    void deleteChosen();

private:
    void fillList();

    Prompter& prompter_;
    signature::SignatureChooser chooser_;
    signature::MoveToTrashFn moveToTrash_;
    QComboBox* list_;
    QLineEdit* password_;
    QPushButton* insert_;
    QPushButton* delete_;
    std::unique_ptr<CxImage> mark_;
};

}  // namespace vestrel::output
