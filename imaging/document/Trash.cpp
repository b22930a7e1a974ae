#include "Trash.h"

#include <QFile>
#include <QStandardPaths>
#include <QString>

namespace vestrel::document {

std::filesystem::path UserTrashDir()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return std::filesystem::path(data.toStdString()) / "Trash";
}

bool MoveToTrash(const std::filesystem::path& file)
{
    const auto trash = UserTrashDir();
    std::error_code error;
    std::filesystem::create_directories(trash / "files", error);
    if (error) return false;
    std::filesystem::create_directories(trash / "info", error);
    if (error) return false;
    return QFile::moveToTrash(QString::fromStdString(file.string()));
}

}  // namespace vestrel::document
