#pragma once
// The record dialog ("录制时间", 205): the camera's formats and their sizes from the
// capability list, open-ended (1005) or timed for a number of minutes (1006 with the
// minutes field 1000), and the sound box (1083), which stays off: there is no sound.

#include "RecordSettings.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QRadioButton;

namespace vestrel {

class RecordDialog : public QDialog {
    Q_OBJECT
public:
    RecordDialog(std::vector<std::string> capabilities, QWidget* parent = nullptr);

    // What OK gives: the size of the selected text (640 x 480 when it does not read as
    // one), the format's name, the length.
    RecordSettings settings() const;

    QComboBox* formatList() const { return formats_; }
    QComboBox* sizeList() const { return sizes_; }
    QRadioButton* openEndedButton() const { return openEnded_; }
    QRadioButton* timedButton() const { return timed_; }
    QDoubleSpinBox* minutesField() const { return minutes_; }
    QCheckBox* soundBox() const { return sound_; }

private:
    void fillSizes(int format);

    std::vector<std::string> capabilities_;
    QComboBox* formats_;
    QComboBox* sizes_;
    QRadioButton* openEnded_;
    QRadioButton* timed_;
    QDoubleSpinBox* minutes_;
    QCheckBox* sound_;
};

}  // namespace vestrel
