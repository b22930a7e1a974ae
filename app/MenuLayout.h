#pragma once
// The layout of the main menu, the context menus and the tool bars as plain data: every
// item and separator in the order the user has always found them. The window builds its
// menus from this; tests compare it without a window.

#include <string>
#include <vector>

namespace vestrel {

struct MenuNode {
    enum class Kind { Command, Separator, Popup };
    Kind kind = Kind::Command;
    int id = 0;                    // command id (Command only)
    std::string text{};            // item or pop-up text
    std::vector<MenuNode> items{}; // pop-up contents
};

// The eight top-level pop-ups of the main menu, "文件(&F)" to "帮助(&H)".
const std::vector<MenuNode>& MainMenu();
// Context menu of the live picture (164).
const std::vector<MenuNode>& LiveContextMenu();
// Menu 163: the still picture's context menu.
const std::vector<MenuNode>& StillContextMenu();
// Pop-up 230: manual deskew and restore defaults.
const std::vector<MenuNode>& DeskewDefaultsMenu();
// Pop-ups 219 and 260 at the eraser and pen buttons: their sizes.
const std::vector<MenuNode>& EraserSizeMenu();
const std::vector<MenuNode>& PenSizeMenu();
// The tray icon's menu (279).
const std::vector<MenuNode>& TrayMenu();

// Button command ids of the three tool bars, 0 for a separator. On the main tool bar the
// 32902 entries are the room the size list covers.
const std::vector<int>& MainToolBar();
const std::vector<int>& SecondToolBar();
const std::vector<int>& LeftToolBar();

// The size list's nine labels, in list order.
const std::vector<std::string>& SizeListLabels();

// Every command id reachable from a menu, in menu order (pop-ups flattened).
std::vector<int> CommandIdsOf(const std::vector<MenuNode>& menu);

}  // namespace vestrel
