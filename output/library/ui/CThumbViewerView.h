#pragma once
// The photo library: thumbnails of the newest files of the photo folder, or a list of all.

#include <QWidget>

namespace vestrel::document {
class CQuorvanDoc;
}

namespace vestrel::library {

class CThumbViewerView : public QWidget {
    Q_OBJECT
public:
    explicit CThumbViewerView(document::CQuorvanDoc& doc, QWidget* parent = nullptr);

private:
    document::CQuorvanDoc& doc_;
};

}  // namespace vestrel::library
