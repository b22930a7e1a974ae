#include "ViewToolCommands.h"

#include "Prompter.h"

#include <algorithm>

namespace vestrel::tools {

using document::Tool;

namespace {

Colour ToColour(COLORREF c)
{
    const RGBQUAD q = CxImage::RGBtoRGBQUAD(c);
    return {q.rgbRed, q.rgbGreen, q.rgbBlue};
}

COLORREF ToColorRef(const Colour& c)
{
    return MakeColorRef(c.red, c.green, c.blue);
}

// The eraser and pen buttons: a second press turns the tool off; turning it on takes up its
// brush. Says whether the tool is on now.
bool ToggleBrushTool(document::CQuorvanDoc& doc, Tool kind)
{
    const bool on = !doc.ToolOn(kind);
    doc.SelectTool(on ? kind : Tool::None);
    if (on) doc.SetBrush(doc.BrushFor(kind));
    return on;
}

}  // namespace

ViewToolCommands::ViewToolCommands(document::CQuorvanDoc& doc, Prompter& prompter)
    : m_doc(doc), m_prompter(prompter)
{
}

void ViewToolCommands::RepaintInfo()
{
    m_doc.RepaintInfoPane();
}

bool ViewToolCommands::OnEraserTool()
{
    const bool on = ToggleBrushTool(m_doc, Tool::Eraser);
    RepaintInfo();
    return on;
}

void ViewToolCommands::OnEraserSize(int side)
{
    m_doc.SelectTool(Tool::Eraser);
    m_doc.SetEraserSize(side);
    m_doc.SetBrush(m_doc.BrushFor(Tool::Eraser));
    if (CxImage* image = m_doc.Image()) image->SelectionDelete();
    RepaintInfo();
}

bool ViewToolCommands::OnPenTool()
{
    const bool on = ToggleBrushTool(m_doc, Tool::Pen);
    RepaintInfo();
    return on;
}

void ViewToolCommands::OnPenSize(int side)
{
    m_doc.SelectTool(Tool::Pen);
    m_doc.SetPenSize(side);
    if (m_doc.Image()) {
        if (const auto chosen = m_prompter.chooseColour(ToColour(m_doc.PenColour())))
            m_doc.SetPenColour(ToColorRef(*chosen));
    }
    m_doc.SetBrush(m_doc.BrushFor(Tool::Pen));
    if (CxImage* image = m_doc.Image()) image->SelectionDelete();
    RepaintInfo();
}

void ViewToolCommands::OnTextTool()
{
    // Turning it off closes the box without placing its text (SelectTool closes it).
    m_doc.SelectTool(m_doc.ToolOn(Tool::Text) ? Tool::None : Tool::Text);
    if (CxImage* image = m_doc.Image()) image->SelectionDelete();
    RepaintInfo();
}

void ViewToolCommands::OnSetFont()
{
    RepaintInfo();
    FontChoice start = m_doc.TextFont();
    start.colour = ToColour(m_doc.PenColour());
    const auto chosen = m_prompter.chooseFont(start);
    if (!chosen) return;
    FontChoice font = *chosen;
    m_doc.SetPenColour(ToColorRef(font.colour));
    font.colour = {};
    m_doc.SetTextFont(font);
    if (m_doc.ToolOn(Tool::Pen)) {
        m_doc.SetEraserSize(1);
        if (m_doc.Image()) m_doc.SetBrush({1, m_doc.PenColour()});
    }
}

bool ViewToolCommands::EraserSizeChecked(int side) const
{
    return m_doc.EraserSize() == side;
}

bool ViewToolCommands::PenSizeChecked(int side) const
{
    return m_doc.PenSize() == side;
}

bool ViewToolCommands::CommitText(const std::string& text, PixelPoint at)
{
    CxImage* image = m_doc.Image();
    const bool blank = std::all_of(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; });
    if (!image || text.empty() || blank) return false;
    if (!m_doc.PushHistory()) return false;
    image = m_doc.Image();
    CXTEXTINFO info;
    CxImage::InitTextInfo(&info);
    info.text = text;
    const FontChoice& font = m_doc.TextFont();
    info.lfFaceName = font.faceName;
    info.lfHeight = font.height;
    info.lfWeight = font.weight;
    info.lfItalic = font.italic;
    info.lfUnderline = font.underline;
    info.fcolor = m_doc.PenColour();
    info.align = TextAlign::Left;
    info.smooth = true;
    info.opaque = false;
    info.b_outline = 0;
    info.b_round = 20;
    image->DrawStringEx(at.x, at.y, &info);
    return true;
}

}  // namespace vestrel::tools
