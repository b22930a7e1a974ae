#!/usr/bin/env python3
"""Writes the program's own tool-bar pictures (24 x 24 SVG) into this folder.

The desktop theme supplies a picture where a freedesktop name fits; these cover the rest
and every button on desktops without a full theme. Run it after changing a drawing.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
INK = "#2e3436"
BLUE = "#3465a4"
RED = "#cc0000"
PAPER = "#ffffff"


def svg(body):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24" '
            'fill="none" stroke="%s" stroke-width="1.6" stroke-linecap="round" '
            'stroke-linejoin="round">\n%s\n</svg>\n' % (INK, body))


def text(t, size=9, colour=INK, y=16):
    return ('<text x="12" y="%d" font-family="sans-serif" font-size="%d" font-weight="bold" '
            'text-anchor="middle" fill="%s" stroke="none">%s</text>' % (y, size, colour, t))


PAGE = '<path d="M6 3h8l4 4v14H6z" fill="%s"/><path d="M14 3v4h4"/>' % PAPER
CAMERA = ('<rect x="3" y="7" width="18" height="12" rx="2" fill="%s"/><path d="M8 7l2-3h4l2 3"/>'
          '<circle cx="12" cy="13" r="3.5"/>' % PAPER)
ARC_LEFT = '<path d="M7 9a7 7 0 1 1 0 8"/><path d="M3 6v5h5" />'
ARC_RIGHT = '<path d="M17 9a7 7 0 1 0 0 8"/><path d="M21 6v5h-5"/>'

ICONS = {
    "open": '<path d="M3 6h6l2 2h10v11H3z" fill="#fce94f"/>',
    "save": '<path d="M4 4h13l3 3v13H4z" fill="%s"/><rect x="8" y="4" width="7" height="5"/>'
            '<rect x="7" y="13" width="10" height="7"/>' % PAPER,
    "undo": '<path d="M8 4L3 9l5 5"/><path d="M3 9h11a5 5 0 0 1 0 10h-4"/>',
    "redo": '<path d="M16 4l5 5-5 5"/><path d="M21 9H10a5 5 0 0 0 0 10h4"/>',
    "cut": '<circle cx="7" cy="18" r="3"/><circle cx="17" cy="18" r="3"/><path d="M8.5 15.5L17 3M15.5 15.5L7 3"/>',
    "copy": '<rect x="8" y="8" width="12" height="13" fill="%s"/><path d="M16 8V3H4v13h4"/>' % PAPER,
    "paste": '<rect x="5" y="4" width="14" height="17" rx="1" fill="#e9b96e"/>'
             '<rect x="9" y="2" width="6" height="4" fill="%s"/><rect x="9" y="10" width="10" height="11" fill="%s"/>' % (PAPER, PAPER),
    "text": text("A", 16, INK, 19) + '<path d="M4 21h16"/>',
    "crop": '<path d="M6 2v16h16"/><path d="M2 6h16v16"/>',
    "eraser": '<path d="M14 4l6 6-9 9H6l-3-3z" fill="#f5c2c7"/><path d="M9 9l6 6"/><path d="M11 20h9"/>',
    "pen": '<path d="M4 20l2-6L16 4l4 4-10 10z" fill="#fce94f"/><path d="M14 6l4 4"/>',
    "fullscreen": '<path d="M3 9V3h6M15 3h6v6M21 15v6h-6M9 21H3v-6"/>',
    "actual-size": '<rect x="3" y="5" width="18" height="14"/>' + text("1:1", 8),
    "window-size": '<rect x="3" y="5" width="18" height="14"/><path d="M7 9l-2-2M17 9l2-2M7 15l-2 2M17 15l2 2"/>',
    "pan": '<path d="M12 2v20M2 12h20M12 2l-3 3M12 2l3 3M12 22l-3-3M12 22l3-3M2 12l3-3M2 12l3 3M22 12l-3-3M22 12l-3 3"/>',
    "live-still": CAMERA + '<path d="M18 2l3 3-3 3" stroke="%s"/>' % BLUE,
    "still-live": '<rect x="3" y="4" width="18" height="15" fill="%s"/><path d="M3 16l5-5 4 4 3-3 6 6"/>'
                  '<circle cx="16" cy="8" r="1.5"/>' % PAPER,
    "scan": CAMERA,
    "timed-scan": '<circle cx="12" cy="13" r="8" fill="%s"/><path d="M12 8v5l3 2M9 2h6"/>' % PAPER,
    "stop-scan": '<rect x="5" y="5" width="14" height="14" fill="%s" stroke="%s"/>' % (RED, RED),
    "record": '<circle cx="12" cy="12" r="7" fill="%s" stroke="%s"/>' % (RED, RED),
    "rotate-left": ARC_LEFT,
    "rotate-right": ARC_RIGHT,
    "rotate": '<path d="M20 12a8 8 0 1 1-3-6.2"/><path d="M20 3v5h-5"/>' + text("°", 10, INK, 16),
    "zoom-in": '<circle cx="10" cy="10" r="6"/><path d="M15 15l6 6M7 10h6M10 7v6"/>',
    "zoom-out": '<circle cx="10" cy="10" r="6"/><path d="M15 15l6 6M7 10h6"/>',
    "rect-select": '<rect x="4" y="5" width="16" height="14" stroke-dasharray="3 2"/>',
    "free-select": '<path d="M5 8c2-5 12-6 14-1s-4 6-7 8-5 5-1 6" stroke-dasharray="3 2"/>',
    "binarise": '<rect x="3" y="4" width="18" height="16"/><path d="M12 4v16" /><path d="M12 4h9v16h-9z" fill="%s"/>' % INK,
    "grey": '<rect x="3" y="4" width="6" height="16" fill="#eeeeec"/><rect x="9" y="4" width="6" height="16" fill="#888a85"/>'
            '<rect x="15" y="4" width="6" height="16" fill="#2e3436"/>',
    "deskew": PAGE.replace('M6 3h8l4 4v14H6z', 'M7 3h8l4 4v14H7z') + '<path d="M3 21l4-4M3 17v4h4" stroke="%s"/>' % BLUE,
    "background": PAGE + '<path d="M8 12h8M8 15h8M8 18h5"/><path d="M3 3l18 18" stroke="%s"/>' % RED,
    "brighter": '<circle cx="12" cy="12" r="4" fill="#fce94f"/><path d="M12 2v3M12 19v3M2 12h3M19 12h3M5 5l2 2M17 17l2 2M5 19l2-2M17 7l2-2"/>',
    "darker": '<circle cx="12" cy="12" r="4" fill="#555753"/><path d="M12 4v2M12 18v2M4 12h2M18 12h2"/>',
    "more-contrast": '<circle cx="12" cy="12" r="8"/><path d="M12 4a8 8 0 0 1 0 16z" fill="%s"/><path d="M18 2v4M16 4h4" stroke="%s"/>' % (INK, BLUE),
    "less-contrast": '<circle cx="12" cy="12" r="8"/><path d="M12 4a8 8 0 0 1 0 16z" fill="#babdb6"/><path d="M16 4h4" stroke="%s"/>' % BLUE,
    "pdf": PAGE + text("PDF", 6, RED, 17),
    "signature": '<path d="M3 17c3-8 5-8 5-3s2 4 4 0 3-3 4 0 2 2 5 0"/><path d="M3 21h18"/>',
    "ocr": '<path d="M3 8V4h4M17 4h4v4M21 16v4h-4M7 20H3v-4"/>' + text("文", 10, INK, 16),
    "defaults": '<path d="M4 12a8 8 0 1 0 2.3-5.7"/><path d="M4 3v5h5"/>',
    "ebook": '<path d="M3 5c3-1 6-1 9 1v14c-3-2-6-2-9-1z" fill="%s"/><path d="M21 5c-3-1-6-1-9 1v14c3-2 6-2 9-1z" fill="%s"/>' % (PAPER, PAPER),
    "vestrel": '<path d="M5 21h14"/><path d="M8 21l3-9 6-5" stroke="%s" stroke-width="2"/>'
               '<rect x="14" y="3" width="8" height="5" rx="1" fill="%s" transform="rotate(35 18 5)"/>'
               '<rect x="4" y="17" width="12" height="3" fill="%s"/>' % (BLUE, INK, PAPER),
}


def main():
    for name, body in ICONS.items():
        with open(os.path.join(HERE, name + ".svg"), "w", encoding="utf-8") as f:
            f.write(svg(body))


if __name__ == "__main__":
    main()
