// The main window's list with 100,000 entries (ENTRIES): how long each key
// of its key table takes to answer, from the key press until the window has
// handled it and painted the result. RUNS (default 11) presses of each;
// the median and the longest are shown. Run on a virtual display
// (bench/list).
#include "core/Workspace.h"
#include "ui/ListRows.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Key {
    const char *name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int entries = qEnvironmentVariableIsSet("ENTRIES") ? qEnvironmentVariableIntValue("ENTRIES") : 100000;
    const int runs = qEnvironmentVariableIsSet("RUNS") ? qEnvironmentVariableIntValue("RUNS") : 11;

    QTemporaryDir kit;
    const QString ini = kit.filePath(QStringLiteral("placement.ini"));
    frmMain w(QDir::toNativeSeparators(kit.path()),
              [ini] { return std::make_unique<QSettings>(ini, QSettings::IniFormat); });
    core::Workspace workspace;
    for (int i = 0; i < entries; ++i)
        workspace.entries << QStringLiteral("pkg%1\\sub%2").arg(i / 100, 4, 10, QLatin1Char('0')).arg(i % 100);
    workspace.selected = entries / 2;
    w.setWorkspace(workspace);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w)) {
        std::fprintf(stderr, "the window did not show\n");
        return 1;
    }
    QListWidget *list = w.lstsrcpath;
    list->setFocus();
    QApplication::processEvents();

    const Key keys[] = {
        {"Ctrl+A", Qt::Key_A, Qt::ControlModifier},   {"Alt+Down", Qt::Key_Down, Qt::AltModifier},
        {"Alt+Up", Qt::Key_Up, Qt::AltModifier},      {"Down", Qt::Key_Down, Qt::NoModifier},
        {"Up", Qt::Key_Up, Qt::NoModifier},           {"Delete", Qt::Key_Delete, Qt::NoModifier},
    };
    std::printf("%d entries, %d presses of each key\n", entries, runs);
    std::printf("%-10s %10s %10s\n", "key", "median ms", "longest ms");
    for (const Key &k : keys) {
        std::vector<double> times;
        for (int i = 0; i < runs; ++i) {
            // Delete leaves nothing selected: the next press needs a row.
            if (ui::selectedRow(list) < 0)
                ui::selectRow(list, entries / 2 - i);
            QApplication::processEvents();
            QElapsedTimer t;
            t.start();
            QTest::keyClick(list, k.key, k.modifiers);
            QApplication::processEvents();
            times.push_back(t.nsecsElapsed() / 1e6);
        }
        std::printf("%-10s %10.1f %10.1f\n", k.name, median(times), *std::max_element(times.begin(), times.end()));
    }
    return 0;
}
