#pragma once
// The dialogs of the image operations: gamma (137), colour correction (138), rotate (139),
// resolution (146) and JPEG quality (259). Each shows and edits its settings; the rules
// behind the fields live beside the operations (FreeRotation.h, ResolutionSettings.h,
// ToneCorrections.h), so the dialogs only bind controls.

#include "FreeRotation.h"
#include "ResolutionSettings.h"
#include "ToneCorrections.h"

#include <QDialog>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
class QRadioButton;
class QSlider;
class QSpinBox;

namespace vestrel {
class Prompter;
}

namespace vestrel::operations {

// "伽马校正"
class GammaDialog : public QDialog {
    Q_OBJECT
public:
    explicit GammaDialog(const GammaSettings& settings, QWidget* parent = nullptr);
    GammaSettings settings() const;

private:
    QRadioButton* independent_;
    QRadioButton* linked_;
    QDoubleSpinBox* gamma_;
    QDoubleSpinBox* red_;
    QDoubleSpinBox* green_;
    QDoubleSpinBox* blue_;
};

// "颜色校正"; its "颜色" button opens the colour chooser and takes the chosen colour.
class ColourCorrectionDialog : public QDialog {
    Q_OBJECT
public:
    ColourCorrectionDialog(Prompter& prompter, const ColourCorrectionSettings& settings,
                           QWidget* parent = nullptr);
    ColourCorrectionSettings settings() const;
    void chooseColour();  // the "颜色" button

private:
    void showSettings(const ColourCorrectionSettings& settings);

    Prompter& prompter_;
    QButtonGroup* mode_;
    QCheckBox* linked_;
    QSpinBox* hue_;
    QSpinBox* saturation_;
    QSpinBox* blend_;
    QSpinBox* red_;
    QSpinBox* green_;
    QSpinBox* blue_;
    QSpinBox* level_;
};

// "旋转": every change previews the turn (signed degrees, keep size); the angle box takes
// digits only.
class RotateDialog : public QDialog {
    Q_OBJECT
public:
    using Preview = std::function<void(int degrees, bool keepSize)>;
    RotateDialog(Prompter& prompter, const RotateSettings& settings, Preview preview,
                 QWidget* parent = nullptr);
    RotateSettings settings() const { return settings_; }
    QLineEdit* angleField() const { return angle_; }
    QCheckBox* keepSizeBox() const { return keepSize_; }
    QRadioButton* anticlockwiseRadio() const { return anticlockwise_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void angleEdited(const QString& text);
    void optionsClicked();
    void sendPreview() const;

    Prompter& prompter_;
    RotateSettings settings_;
    Preview preview_;
    QLineEdit* angle_;
    QCheckBox* keepSize_;
    QRadioButton* clockwise_;
    QRadioButton* anticlockwise_;
};

// "分辨率": the new size follows the factor text, or is typed in.
class ResolutionDialog : public QDialog {
    Q_OBJECT
public:
    explicit ResolutionDialog(const ResolutionSettings& settings, QWidget* parent = nullptr);
    int newWidth() const;
    int newHeight() const;
    QLineEdit* factorField() const { return factor_; }

private:
    void factorEdited(const QString& text);

    ResolutionSettings settings_;
    QLineEdit* factor_;
    QSpinBox* width_;
    QSpinBox* height_;
};

// "JPG保存质量": a slider 0..100; its text shows the value with "%" once released.
class JpegQualityDialog : public QDialog {
    Q_OBJECT
public:
    explicit JpegQualityDialog(int quality, QWidget* parent = nullptr);
    int quality() const;
    QSlider* slider() const { return slider_; }
    QLineEdit* percentField() const { return percent_; }

private:
    QSlider* slider_;
    QLineEdit* percent_;
};

}  // namespace vestrel::operations
