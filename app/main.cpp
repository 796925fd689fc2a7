#include "dialogs/PreferenceCommands.h"
#include "mainwindow/frmTabulet.h"
#include "platform/QtServices.h"

#include <QApplication>
#include <QSessionManager>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tabulet"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.tabulet.Tabulet"));

    QtServices services;
    PreferenceCommands dialogs(services.services());
    frmTabulet window(services.services(), dialogs);
    services.reportSettingsFailures(&window);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager& session) { window.commitSession(session); });
    window.show();
    window.openFileAtStart(QApplication::arguments().value(1));
    return QApplication::exec();
}
