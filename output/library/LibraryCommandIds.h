#pragma once
// The commands of the library's context menus, and the entries of both menus in order:
// the one shown over an item and the one shown over empty space.

#include <string>
#include <vector>

namespace vestrel::library {

inline constexpr int ID_LIBRARY_VIEW = 32854;
inline constexpr int ID_LIBRARY_RENAME = 32852;
inline constexpr int ID_LIBRARY_DELETE = 32855;
inline constexpr int ID_LIBRARY_OPEN_FOLDER = 32856;
inline constexpr int ID_LIBRARY_CHOOSE_ON_ITEM = 32956;
inline constexpr int ID_LIBRARY_CHOOSE = 32957;
inline constexpr int ID_LIBRARY_THUMBNAIL_COUNT = 32914;
inline constexpr int ID_LIBRARY_REFRESH = 32915;
inline constexpr int ID_LIBRARY_LIST_DISPLAY = 32937;
inline constexpr int ID_LIBRARY_THUMBNAIL_DISPLAY = 32938;

struct MenuEntry {
    int id;
    std::string text;
};

// Menu 155 when the right click hit an item, menu 156 when it hit none.
std::vector<MenuEntry> LibraryContextMenu(bool itemHit);

}  // namespace vestrel::library
