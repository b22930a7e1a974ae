#pragma once
// The still picture of the current document: the image at the document's zoom with
// scrolling, or fitted to the pane, and the pan tool.

#include <QWidget>

namespace vestrel::document {

class CQuorvanDoc;

class CQuorvanView : public QWidget {
    Q_OBJECT
public:
    explicit CQuorvanView(CQuorvanDoc& doc, QWidget* parent = nullptr);

private:
    CQuorvanDoc& doc_;
};

}  // namespace vestrel::document
