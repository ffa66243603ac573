#include "app/Paths.h"
#include "launch/ScriptedRun.h"
#include "workspace/frmMain.h"

#include <QApplication>
#include <QCoreApplication>

namespace {

// Module-level reference to the main window, set once by Main.
frmMain *g_mainWindow = nullptr;

void Main()
{
    g_mainWindow = new frmMain(app::AppPath());
    g_mainWindow->setAttribute(Qt::WA_DeleteOnClose);
    g_mainWindow->show();
}

QStringList rawArguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace

int main(int argc, char *argv[])
{
    if (launch::isScriptedRun(rawArguments(argc, argv))) {
        // From a build script: no window, so no display is needed.
        QCoreApplication application(argc, argv);
        return launch::runScripted(QCoreApplication::arguments(), app::AppPath());
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TAVO_Starter"));
    Main();
    return QApplication::exec();
}
