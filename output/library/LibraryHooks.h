#pragma once
// What the photo library asks of the main window and the other panes. Every hook may be
// left empty; an empty question hook means there is nothing to ask and the command goes on.

#include <functional>
#include <string>

namespace vestrel::library {

struct LibraryHooks {
    // The live camera picture is shown (not the still image).
    std::function<bool()> liveShown;
    // Before a PDF is opened while an e-book is being composed: asks
    // "此操作将停止合成pdf，是否继续？" (caption "警告", Yes/No) and on Yes stops the book and
    // closes its tool window. Returns false when the user said No; true when no book runs.
    std::function<bool()> confirmStopEBook;
    // Before an image is opened while an ID-card copy runs with the live picture shown:
    // asks "正在进行证件复印,是否终止?" (caption "提示", Yes/No) and on Yes ends the copy.
    // Returns false when the user said No; true when no copy runs.
    std::function<bool()> confirmEndIdCardCopy;
    // Leave the live picture the way the live/still switch does (preview paused, the scan
    // button disabled, the switch button in its still state).
    std::function<void()> leaveLiveView;
    // A new image is in the document: the image view fits it to its client area, and the
    // image and information panes redraw.
    std::function<void()> showLoadedImage;
    std::function<void()> repaintImageView;
    // Make the image view the active view (it takes the keyboard).
    std::function<void()> activateImageView;
    // The user chose another photo folder (ends with '/'); config.ini keeps it with the
    // other settings.
    std::function<void(const std::string& folder)> photoFolderChanged;
    // Opens a file or folder with the desktop's default program; false when none could be
    // started. The pane fills this with the desktop services when it is left empty.
    std::function<bool(const std::string& path)> openWithDesktop;
};

}  // namespace vestrel::library
