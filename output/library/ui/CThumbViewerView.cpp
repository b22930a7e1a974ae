#include "CThumbViewerView.h"

#include "CQuorvanDoc.h"

namespace vestrel::library {

CThumbViewerView::CThumbViewerView(document::CQuorvanDoc& doc, QWidget* parent)
    : QWidget(parent), doc_(doc)
{
    setMinimumSize(10, 10);
}

}  // namespace vestrel::library
