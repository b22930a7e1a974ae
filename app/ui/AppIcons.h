#pragma once
// Pictures for commands: the desktop theme's icon where a freedesktop name fits, else the
// small picture of our own shipped in res/icons/ of the program folder.

#include <QIcon>

namespace vestrel {

QIcon CommandIcon(int commandId);
QIcon StillSwitchIcon();     // the switch button while the still picture is shown
QIcon ApplicationIcon();

}  // namespace vestrel
