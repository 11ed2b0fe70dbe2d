#include "app/MainWindow.h"
#include "app/Session.h"
#include "shell/FontFaces.h"
#include "shell/QtTranslations.h"

#include <QApplication>

#include <memory>

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

    // The session outlives the windows, which refer to it.
    Session session;
    const std::unique_ptr<TMainF> MainF(StartQuarnet(session, QCoreApplication::arguments()));
    return QApplication::exec();
}
