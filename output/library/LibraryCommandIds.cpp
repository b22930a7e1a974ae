#include "LibraryCommandIds.h"

namespace vestrel::library {

std::vector<MenuEntry> LibraryContextMenu(bool itemHit)
{
    if (itemHit)
        return {{ID_LIBRARY_VIEW, "查看"},
                {ID_LIBRARY_REFRESH, "刷新"},
                {ID_LIBRARY_DELETE, "删除"},
                {ID_LIBRARY_RENAME, "重命名"},
                {ID_LIBRARY_LIST_DISPLAY, "列表显示"},
                {ID_LIBRARY_THUMBNAIL_DISPLAY, "缩略图显示"},
                {ID_LIBRARY_THUMBNAIL_COUNT, "缩略图个数"},
                {ID_LIBRARY_OPEN_FOLDER, "打开文件夹"},
                {ID_LIBRARY_CHOOSE_ON_ITEM, "选择图库"}};
    return {{ID_LIBRARY_REFRESH, "刷新"},
            {ID_LIBRARY_LIST_DISPLAY, "列表显示"},
            {ID_LIBRARY_THUMBNAIL_DISPLAY, "缩略图显示"},
            {ID_LIBRARY_THUMBNAIL_COUNT, "缩略图个数"},
            {ID_LIBRARY_OPEN_FOLDER, "打开文件夹"},
            {ID_LIBRARY_CHOOSE, "选择图库"}};
}

}  // namespace vestrel::library
