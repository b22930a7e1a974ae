#pragma once
// The small pane with the three large buttons: scan, switch between the live and the
// still picture, open the photo library. The switch button's picture tells which view a
// press leads to.

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

signals:
    void commandTriggered(int id);

private:
    QPushButton* scan_;
    QPushButton* switch_;
    QPushButton* library_;
    bool liveShown_ = true;
};

}  // namespace vestrel
