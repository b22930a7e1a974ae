#pragma once
// The commands and gestures of the selection on the document's picture: the rectangle
// and free-hand selections, the crop (with its crop mode), and the picture copy and cut
// take out of it. The clipboard itself is the window's (selection/ui): these commands hand
// it the picture and take the one it gives back.

#include "CQuorvanDoc.h"

#include <functional>
#include <memory>
#include <optional>

namespace vestrel::selection {

// What the commands ask of the window beyond the document. Every hook may be left empty.
struct SelectionHooks {
    std::function<void()> repaintImageView;  // the picture changed (pixels or size)
    std::function<void()> clearTracker;      // the rectangle tracker goes
};

class SelectionCommands {
public:
    // While drawing, this many points are counted; the last slots stay for closing.
    static constexpr int kDrawnLassoPoints = 7998;

    SelectionCommands(document::CQuorvanDoc& doc, SelectionHooks hooks = {});

    // "矩形框选" and "自由框选": each toggles its tool (every other one off) and drops the
    // tracker and the selection.
    void OnRectSelect();
    void OnFreeSelect();
    bool RectSelectChecked() const;
    bool FreeSelectChecked() const;
    bool CropChecked() const;

    // The tracker's rectangle, in picture pixels, becomes the selection.
    bool SelectRect(PixelRect rect);
    // A point of the free-hand outline while the button is down: points outside the
    // picture are skipped, and no more than kDrawnLassoPoints are kept.
    bool AddLassoPoint(PixelPoint pixel);
    // Button up: the outline is closed and becomes the selection; with fewer than 3 points
    // there is no selection. True when there is one.
    bool CloseLasso();

    // "裁剪": with a selection and a selection tool on, the picture is cut to the
    // selection's bounding box (a free-hand outline also blanks what lies outside it) and
    // shown at zoom 1; otherwise crop mode starts. Either way the history takes a step
    // first.
    void OnCrop();
    // A double click in crop mode: the picture is cut to the selection's bounding box and
    // crop mode ends.
    bool CropByDoubleClick();

    // "复制": the picture to put on the clipboard (the selection's part or the whole
    // picture); the selection and the selection tools go. Nothing without a picture.
    std::optional<CxImage> OnCopy();
    // "剪切": as copy, after a history step; the selected part of the picture is left in
    // the background colour. Nothing without a selection.
    std::optional<CxImage> OnCut();
    bool CanCut() const;

private:
    // The free-hand outline masks the selection's picture.
    bool FreeHandInUse() const;
    void Call(const std::function<void()>& hook) const;

    document::CQuorvanDoc& m_doc;
    SelectionHooks m_hooks;
};

}  // namespace vestrel::selection
