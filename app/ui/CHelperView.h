#pragma once
// The information pane under the picture: two lines about what the program is doing. On
// the live picture it shows the capture settings, timed scanning or recording; the still
// picture's texts come from the image document through `setStillPieces`. The pane paints
// its texts itself, so it tells accessibility clients (screen readers) the same texts.

#include "HelperText.h"

#include <QWidget>

#include <functional>
#include <vector>

namespace vestrel {

class CHelperView : public QWidget {
    Q_OBJECT
public:
    using PieceSource = std::function<std::vector<HelperPiece>()>;

    explicit CHelperView(QWidget* parent = nullptr);

    // Where the pieces come from; the pane asks on every repaint.
    void setPieceSource(PieceSource source) { source_ = std::move(source); }
    std::vector<HelperPiece> pieces() const { return source_ ? source_() : std::vector<HelperPiece>{}; }

    // The text drawn on `line`, labels included, for checks and accessibility.
    QString lineText(int line) const;
    // What accessibility clients read: the lines that hold text, one a line.
    QString accessibleText() const;
    int paintCount() const { return paintCount_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PieceSource source_;
    int paintCount_ = 0;
    QString announced_;  // the text accessibility clients were last told of
};

}  // namespace vestrel
