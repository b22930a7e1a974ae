#include "CQuorvanView.h"

#include "CQuorvanDoc.h"

namespace vestrel::document {

CQuorvanView::CQuorvanView(CQuorvanDoc& doc, QWidget* parent) : QWidget(parent), doc_(doc)
{
    setMinimumSize(10, 10);
}

}  // namespace vestrel::document
