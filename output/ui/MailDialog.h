#pragma once
// "邮件": the web-mail address the mail link opens, confirmed or edited by the user. A text
// that shows a scheme other than a web one is told at once; OK refuses anything but a web
// scheme with something after it.

#include <QDialog>

#include <string>

class QLineEdit;

namespace vestrel {
class Prompter;
}

namespace vestrel::output {

class MailDialog : public QDialog {
    Q_OBJECT
public:
    MailDialog(Prompter& prompter, const std::string& address, QWidget* parent = nullptr);

    QLineEdit* field() const { return field_; }
    // The accepted address (after OK).
    std::string address() const;
    void accept() override;

private:
    void onEdited(const QString& text);

    Prompter& prompter_;
    QLineEdit* field_;
    bool invalid_ = false;
};

}  // namespace vestrel::output
