#pragma once
// The commands of the still view's mouse tools: the eraser and pen buttons and their size
// menus, the text tool, the font dialog, and placing typed text on the picture. Each works
// on the document; the window shows the size pop-ups and repaints.

#include "CQuorvanDoc.h"

#include <string>

namespace vestrel {
class Prompter;
}

namespace vestrel::tools {

class ViewToolCommands {
public:
    ViewToolCommands(document::CQuorvanDoc& doc, Prompter& prompter);

    // The eraser button: on (true, the size pop-up follows) or off.
    bool OnEraserTool();
    // An eraser-size entry: the eraser on with that side.
    void OnEraserSize(int side);
    // The pen button: on (true, the size pop-up follows) or off.
    bool OnPenTool();
    // A pen-size entry: the pen on with that side, after the colour chooser (starting at
    // the pen colour; Cancel keeps it).
    void OnPenSize(int side);
    // "添加文字": the text tool on or off.
    void OnTextTool();
    // "设置字体": the font chooser on the text font and pen colour; OK takes both. With the
    // pen on, its brush becomes a single pixel of the new colour (and the eraser size 1).
    void OnSetFont();

    // The tool-bar and menu checks.
    bool EraserSizeChecked(int side) const;
    bool PenSizeChecked(int side) const;

    // Draws `text` with its top-left at picture pixel `at` in the text font and the pen
    // colour, after a history step. Empty text (or no picture) does nothing: no step.
    bool CommitText(const std::string& text, PixelPoint at);

private:
    void RepaintInfo();

    document::CQuorvanDoc& m_doc;
    Prompter& m_prompter;
};

}  // namespace vestrel::tools
