#pragma once
// "签名" (dialog 166): makes a signature file from the current picture. The name and the
// password twice, and the background strength and threshold whose effect the picture
// shows while the dialog is open. "确定" writes and scrambles the signature; "取消", Esc
// and the close box all cancel, so that a signature the user abandons is never saved.

#include "SignatureCommands.h"

#include <QDialog>

#include <map>

class QLineEdit;
class QSlider;

namespace vestrel {
class Prompter;
}

namespace vestrel::output {

class SignatureDialog : public QDialog {
    Q_OBJECT
public:
    // The controls by the ids they have always had.
    enum Control {
        OkButton = 2,
        PasswordField = 1000,
        PasswordAgainField = 1001,
        NameField = 1003,
        StrengthField = 1008,
        ThresholdField = 1009,
        ThresholdSlider = 1014,
        StrengthDown = 1017,
        CancelButton = 1018,
        StrengthUp = 1026,
    };

    // Shows the picture processed with the starting values at once.
    SignatureDialog(Prompter& prompter, signature::MakeDialogSetup setup, QWidget* parent = nullptr);

    QWidget* control(Control id) const { return controls_.at(id); }
    int strength() const { return strength_; }
    int threshold() const { return threshold_; }
    // How the dialog ended (Cancelled until it ends otherwise).
    signature::MakeDialogResult outcome() const { return outcome_; }

    // "确定": the name and password rules, then the signature written and scrambled.
    void accept() override;
    void reject() override;

private:
    void stepStrength(int step);
    void setThreshold(int value);
    void preview();
    QLineEdit* edit(Control id) const;

    Prompter& prompter_;
    signature::MakeDialogSetup setup_;
    std::map<Control, QWidget*> controls_;
    int strength_;
    int threshold_;
    signature::MakeDialogResult outcome_ = signature::MakeDialogResult::Cancelled;
};

}  // namespace vestrel::output
