#include "AppIcons.h"

#include "CommandTable.h"
#include "ProgramDir.h"

#include <QFile>

namespace vestrel {
namespace {

QIcon OwnIcon(const char* file)
{
    if (!file || !*file) return {};
    const QString path = QString::fromStdString((ProgramDir() / "res" / "icons" / file).string());
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

}  // namespace

QIcon CommandIcon(int commandId)
{
    const CommandInfo* info = FindCommand(commandId);
    if (!info) return {};
    if (*info->iconTheme) {
        if (QIcon::hasThemeIcon(QString::fromUtf8(info->iconTheme)))
            return QIcon::fromTheme(QString::fromUtf8(info->iconTheme));
    }
    return OwnIcon(info->iconFile);
}

QIcon StillSwitchIcon() { return OwnIcon("still-live.svg"); }

QIcon ApplicationIcon()
{
    const QIcon own = OwnIcon("vestrel.svg");
    return own.isNull() ? QIcon::fromTheme(QStringLiteral("camera-photo")) : own;
}

}  // namespace vestrel
