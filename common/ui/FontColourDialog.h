#pragma once
// The font chooser with a colour, as the text tool needs it: the desktop's font dialog
// has no colour of its own, so the font panel sits beside a colour button that opens the
// colour chooser. OK gives both.

#include "Prompter.h"

#include <QDialog>

class QFontDialog;
class QPushButton;

namespace vestrel {

class FontColourDialog : public QDialog {
    Q_OBJECT
public:
    explicit FontColourDialog(const FontChoice& initial, QWidget* parent = nullptr);

    // The font and colour shown now.
    FontChoice choice() const;
    void setColour(const Colour& colour);

private:
    void showColour();

    FontChoice initial_;
    Colour colour_;
    QFontDialog* fonts_ = nullptr;
    QPushButton* colourButton_ = nullptr;
};

}  // namespace vestrel
