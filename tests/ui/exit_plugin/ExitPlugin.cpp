// A plugin that the window loads when asked to through
// QT_QPA_GENERIC_PLUGINS: once the main window shows, it chooses File > Exit
// as a user would (with TAVO_TEST_MAXIMISE set, once the window manager has
// maximised the window). It lets a test run the real program, unchanged,
// from start to its own end.
#include <QAction>
#include <QApplication>
#include <QGenericPlugin>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// True once the window covers the screen's free area, as the window
// manager lays out a maximised window; asks for that once the window has
// its normal frame, as a user would.
bool maximised(QWidget *w)
{
    if (!w->isMaximized()) {
        if (w->windowHandle() && !w->windowHandle()->frameMargins().isNull())
            w->showMaximized();
        return false;
    }
    return w->windowHandle() && w->screen()
        && w->windowHandle()->frameGeometry() == w->screen()->availableGeometry();
}

// Opens the File menu, then activates its Exit entry, polling until the
// main window is up.
void exitWhenShown(int attemptsLeft)
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() != QLatin1String("frmMain") || !w->isVisible())
            continue;
        if (qEnvironmentVariableIsSet("TAVO_TEST_MAXIMISE") && !maximised(w) && attemptsLeft > 0)
            break;
        auto *menu = w->findChild<QMenu *>(QStringLiteral("mnuFile"));
        auto *exit = w->findChild<QAction *>(QStringLiteral("mnuFileExit"));
        if (!menu || !exit)
            break;
        menu->popup(w->mapToGlobal(QPoint(0, 0)));
        QTimer::singleShot(50, menu, [menu, exit] {
            menu->setActiveAction(exit);
            exit->trigger();
            menu->close();
        });
        return;
    }
    if (attemptsLeft > 0)
        QTimer::singleShot(50, [attemptsLeft] { exitWhenShown(attemptsLeft - 1); });
}

} // namespace

class ExitPlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "ExitPlugin.json")
public:
    QObject *create(const QString &, const QString &) override
    {
        // Ten seconds for the window to come up.
        QTimer::singleShot(0, [] { exitWhenShown(200); });
        return new QObject;
    }
};

#include "ExitPlugin.moc"
