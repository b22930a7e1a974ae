#pragma once
// The small pane with the three large buttons: scan, switch between the live and the
// still picture, open the photo library. The switch button's picture tells which view a
// press leads to. A picture that cannot be loaded leaves its button with the caption alone.

#include <QIcon>
#include <QWidget>

class QPushButton;

namespace vestrel {

class CButtonView : public QWidget {
    Q_OBJECT
public:
    explicit CButtonView(QWidget* parent = nullptr);

    QPushButton* scanButton() const { return scan_; }
    QPushButton* switchButton() const { return switch_; }
    QPushButton* libraryButton() const { return library_; }

    void setScanEnabled(bool on);
    // The switch button shows the live pictures while the live view is shown.
    void setLiveShown(bool live);
    bool liveShown() const { return liveShown_; }
    // Whether the scan and switch buttons' pictures (both of the switch's) were loaded.
    bool picturesLoaded() const { return picturesLoaded_; }

signals:
    void commandTriggered(int id);

private:
    QPushButton* scan_;
    QPushButton* switch_;
    QPushButton* library_;
    bool liveShown_ = true;
    QIcon liveIcon_;   // the switch button while the live picture is shown
    QIcon stillIcon_;  // ... and while the still picture is
    bool picturesLoaded_ = false;
};

}  // namespace vestrel
