#pragma once
// The PDF e-book while it is composed, in one place: the book itself, the writer that turns
// each scan into its next page (or into a single-page PDF when no book is open), the
// floating tool window with the one end button, and timer 4, which ends the book when
// that window has been closed. The scanner asks the writer whether a book is open; nobody
// keeps a copy of that.

#include "EBook.h"
#include "Prompter.h"
#include "ScanState.h"
#include "ScanToPdf.h"
#include "Settings.h"

#include <QObject>
#include <QPointer>

class QAction;
class QTimer;
class QWidget;

namespace vestrel {

class EBookSession : public QObject {
    Q_OBJECT
public:
    // `window` is the main window the tool window floats over.
    EBookSession(const Settings& settings, scan::ScanState& state, Prompter& prompter,
                 QWidget* window);
    // A book still open keeps every page written so far.
    ~EBookSession() override;

    // Where ".pdf" scans and e-book pages go.
    ScanPdfWriter& writer() { return writer_; }
    const output::EBook& book() const { return book_; }
    bool composing() const { return book_.composing(); }
    // The floating tool window; null while no book is open.
    QWidget* toolWindow() const { return toolWindow_.data(); }

    // Starts a book: the tool window, holding `endAction`, appears and timer 4 starts.
    void start(QAction* endAction);
    // Ends the book (its file complete), hides the tool window and stops timer 4.
    void finish();
    // A book whose file could not be created has ended inside a scan: the tool window goes too.
    void closeIfEnded();
    // Asks "此操作将停止合成pdf，是否继续？" while a book is open and ends it on Yes; true when
    // nothing stands in the way any more.
    bool confirmStop();

signals:
    // The book has ended; `wasOpen` when a book (or its tool window) was there to end.
    void ended(bool wasOpen);

private:
    void watchToolWindow();  // timer 4

    Prompter& prompter_;
    QWidget* window_;
    output::EBook book_;
    ScanPdfWriter writer_;
    QPointer<QWidget> toolWindow_;
    QTimer* timer_ = nullptr;
};

}  // namespace vestrel
