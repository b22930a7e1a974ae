#pragma once
// "扫描设置" (dialog 165): the widgets over a ScanSettingsForm. Every rule (enabled controls,
// format and naming rules, the preview messages, defaults, ranges) is the form's; the
// dialog feeds it the user's actions and shows the result.

#include "Prompter.h"
#include "ScanSettingsForm.h"

#include <QDialog>

#include <filesystem>
#include <map>

namespace vestrel::scan {

class ScanSettingsDialog : public QDialog {
    Q_OBJECT
public:
    // The controls by the ids they have always had.
    enum Control {
        PathField = 1000,
        ThresholdValueField = 1001,
        StrengthField = 1002,
        IntervalField = 1003,
        ThresholdCheck = 1004,
        NameCustom = 1005,
        NameTime = 1006,
        NameSerial = 1007,
        BookNameField = 1008,
        QualitySlider = 1014,
        QualityLabel = 1015,
        NameOdd = 1016,
        Browse = 1017,
        RestoreDefaults = 1026,
        SizeList = 1029,
        EraserCheck = 1032,
        FormatList = 1033,
        TimeCheck = 1034,
        OrientationList = 1035,
        ThresholdSlider = 1036,
        StrengthDown = 1037,
        StrengthUp = 1038,
        PreviewButton = 1039,
        NameEven = 1040,
        NameSequential = 1041,
        GreyCheck = 1043,
        BookNamingCheck = 1044,
        DeskewCheck = 1045,
    };

    ScanSettingsDialog(ScanSettingsForm form, Prompter& prompter, SettingsPreviewTarget& target,
                       std::filesystem::path programDir, QWidget* parent = nullptr);

    const ScanSettingsForm& form() const { return form_; }
    QWidget* control(Control id) const { return controls_.at(id); }

    // OK: the ranged edits are read first; a value out of range is told and the dialog
    // stays open. A running preview ends either way.
    void accept() override;
    void reject() override;

private:
    void build();
    void connectControls();
    // Shows the form: values, enabled states, captions. Signals are held meanwhile.
    void showForm();
    // The typed value of a ranged edit, told and focused when out of range.
    bool readRanged(Control id, int low, int high, int& into);

    ScanSettingsForm form_;
    Prompter& prompter_;
    SettingsPreviewTarget& target_;
    std::filesystem::path programDir_;
    std::map<Control, QWidget*> controls_;
    bool showing_ = false;
};

}  // namespace vestrel::scan
