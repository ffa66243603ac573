// The floor any Qt Widgets program pays: a main window with a File menu and
// an Exit entry, a list and a status bar, started and closed the same way as
// the real program.
#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Minimal Window"));
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("&File"));
    QAction *exit = file->addAction(QStringLiteral("E&xit"));
    QObject::connect(exit, &QAction::triggered, &window, &QMainWindow::close);
    window.setCentralWidget(new QListWidget(&window));
    window.statusBar()->showMessage(QStringLiteral("ready"));
    window.resize(433, 433);
    window.show();
    return QApplication::exec();
}
