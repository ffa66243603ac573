#include "app/Paths.h"
#include "workspace/frmMain.h"

#include <QApplication>

namespace {

// Module-level reference to the main window, set once by Main.
frmMain *g_mainWindow = nullptr;

void Main()
{
    g_mainWindow = new frmMain(app::AppPath());
    g_mainWindow->setAttribute(Qt::WA_DeleteOnClose);
    g_mainWindow->show();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TAVO_Starter"));
    Main();
    return QApplication::exec();
}
