#pragma once
// The print preview in which the picture's place on the page is chosen: the page as it
// will print, the preview's print, zoom and close actions, and six alignment buttons
// (left, centre, right; top, middle, bottom). An alignment button is disabled while its
// value is the one in force; choosing one redraws the page at once. The alignment belongs
// to the whole program and outlives the window.

#include "CxImage.h"
#include "PrintGeometry.h"

#include <QWidget>

#include <functional>

class QAction;
class QPrinter;
class QPrintPreviewWidget;
class QToolBar;

namespace vestrel::print {

class CMyPreviewView : public QWidget {
    Q_OBJECT
public:
    using PictureSource = std::function<const CxImage*()>;
    using ScaleSource = std::function<PrintScale()>;

    // `printer` and `alignment` must outlive the window. A top-level window that deletes
    // itself when closed.
    CMyPreviewView(QPrinter& printer, PrintAlignment& alignment, PictureSource picture, ScaleSource scale,
                   QWidget* parent = nullptr);

    void setHorizontal(HorizontalAlignment value);
    void setVertical(VerticalAlignment value);
    QAction* horizontalAction(HorizontalAlignment value) const;
    QAction* verticalAction(VerticalAlignment value) const;
    QAction* printAction() const { return print_; }
    QAction* closeAction() const { return close_; }
    QPrintPreviewWidget* previewWidget() const { return preview_; }
    // Where the last drawing of the page put the picture, in printer pixels; empty when the
    // page showed no picture.
    PrintRect lastPictureRect() const { return lastRect_; }

protected:
    bool event(QEvent* event) override;

signals:
    // The preview's print button: the window closes and the picture goes to the printer.
    void printRequested();

private:
    void paintPage(QPrinter* printer);
    void redraw();
    void updateButtons();

    QPrinter& printer_;
    PrintAlignment& alignment_;
    PictureSource picture_;
    ScaleSource scale_;
    QToolBar* bar_ = nullptr;
    QPrintPreviewWidget* preview_ = nullptr;
    QAction* print_ = nullptr;
    QAction* close_ = nullptr;
    QAction* horizontal_[3] = {};  // by the alignment's number: centre, left, right
    QAction* vertical_[3] = {};    // middle, top, bottom
    PrintRect lastRect_;
};

}  // namespace vestrel::print
