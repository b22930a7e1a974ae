// vestrel: the desktop program of the document camera.

#include "CQuorvanApp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QIcon>

int main(int argc, char** argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vestrel"));
    QApplication::setDesktopFileName(QStringLiteral("vestrel"));
    QApplication::setQuitOnLastWindowClosed(true);
    if (QIcon::themeName().isEmpty()) QIcon::setThemeName(QStringLiteral("hicolor"));
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));

    vestrel::CQuorvanApp program(argc, argv, sinceStart);
    if (!program.InitInstance()) return 0;
    return program.Run();
}
