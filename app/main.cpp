#include "shell/Fonts.h"
#include "shell/QtTranslations.h"
#include "app/MainWindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Matches the installed org.quarnet.Quarnet.desktop, so that desktops
    // show the program's name and icon for its windows.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quarnet.Quarnet"));
    // Names the folders of the autosave and the recent files, whatever the
    // executable is called.
    QCoreApplication::setApplicationName(QStringLiteral("quarnet"));
    installFontSubstitutions();
    installQtTranslations(app);

    StartQuarnet(QCoreApplication::arguments());
    const int code = QApplication::exec();
    delete MainF;
    return code;
}
