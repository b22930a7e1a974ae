#include "SelectionUi.h"

#include "ClipboardExchange.h"
#include "CQuorvanView.h"
#include "FreeSelectTool.h"
#include "PasteTool.h"
#include "Prompter.h"
#include "RectSelectTool.h"
#include "SelectionMessages.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace vestrel::selection {

SelectionUi::SelectionUi(document::CQuorvanDoc& doc, Prompter& prompter, document::CQuorvanView& view,
                         QObject* parent)
    : QObject(parent),
      doc_(doc),
      prompter_(prompter),
      view_(view),
      commands_(doc, SelectionHooks{[this] { view_.imageChanged(); },
                                    [this] {
                                        if (rectTool_) rectTool_->cancel();
                                    }})
{
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &SelectionUi::readClipboard);
    readClipboard();
}

SelectionUi::~SelectionUi() = default;

void SelectionUi::installTools()
{
    auto paste = std::make_unique<PasteTool>(doc_, view_);
    auto rect = std::make_unique<RectSelectTool>(doc_, commands_, view_);
    auto free = std::make_unique<FreeSelectTool>(doc_, commands_, view_);
    pasteTool_ = paste.get();
    rectTool_ = rect.get();
    freeTool_ = free.get();
    view_.installTool(std::move(paste));
    view_.installTool(std::move(rect));
    view_.installTool(std::move(free));
    connect(&view_, &document::CQuorvanView::pasteTurnRequested, this, [this] { pasteTool_->turn(); });
}

void SelectionUi::readClipboard()
{
    const bool offers = OffersPicture(QGuiApplication::clipboard()->mimeData());
    const bool changed = offers != clipboardOffers_;
    clipboardOffers_ = offers;
    if (changed) emit clipboardChanged();
}

void SelectionUi::OnRectSelect()
{
    commands_.OnRectSelect();
    view_.refresh();
}

void SelectionUi::OnFreeSelect()
{
    commands_.OnFreeSelect();
    view_.refresh();
}

void SelectionUi::OnCrop()
{
    commands_.OnCrop();
    view_.imageChanged();
}

void SelectionUi::putOnClipboard(const std::optional<CxImage>& picture)
{
    std::unique_ptr<QMimeData> mime = picture ? MimeDataFor(*picture) : nullptr;
    if (!mime) {
        prompter_.message(msg::kClipboardRefused);
        return;
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setMimeData(mime.release());
    // The desktop may refuse without a word: what it holds now tells.
    if (!OffersPicture(clipboard->mimeData())) prompter_.message(msg::kClipboardRefused);
}

void SelectionUi::OnCopy()
{
    // The selection tools stay on until the picture is taken: a free-hand outline masks it.
    if (!doc_.Image()) return;
    putOnClipboard(commands_.OnCopy());
    view_.refresh();
}

void SelectionUi::OnCut()
{
    if (!commands_.CanCut()) return;
    putOnClipboard(commands_.OnCut());
    view_.imageChanged();
}

void SelectionUi::OnPaste()
{
    doc_.ResetTools();
    std::unique_ptr<CxImage> picture = PictureFrom(QGuiApplication::clipboard()->mimeData());
    if (picture) PastePicture(std::move(picture), false);
}

bool SelectionUi::PastePicture(std::unique_ptr<CxImage> picture, bool isMark)
{
    const bool placed = doc_.PastePicture(std::move(picture), isMark);
    if (placed && isMark) view_.setPastePosition({});
    view_.imageChanged();
    return placed;
}

void SelectionUi::OnRemovePaste()
{
    if (!doc_.HasFloatingPaste()) return;
    doc_.RemovePaste();
    view_.imageChanged();
}

}  // namespace vestrel::selection
