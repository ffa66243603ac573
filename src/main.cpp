#include "cli/ScriptedRun.h"
#include "core/Kit.h"
#include "ui/QtTranslations.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QCoreApplication>

namespace {

// Creates the main window and shows it; it deletes itself when closed.
void Main()
{
    auto *window = new frmMain(core::AppPath());
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

QStringList rawArguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace

// The window for a user, or the command line for a build script.
int main(int argc, char *argv[])
{
    if (cli::isScriptedRun(rawArguments(argc, argv))) {
        // No window, so no display is needed.
        QCoreApplication application(argc, argv);
        return cli::runScripted(QCoreApplication::arguments(), core::Kit(core::AppPath()));
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TAVO_Starter"));
    ui::loadQtTranslations();
    Main();
    return QApplication::exec();
}
