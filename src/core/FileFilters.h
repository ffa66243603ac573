#pragma once
// The filters of the program's file choosers, as "description|pattern|"
// strings, and the table that preselects one from a file's extension.
#include <QHash>
#include <QString>

namespace core {

// "Select a File", the chooser of the file to edit.
QString editFileFilter();
// Export and import of the two batch files; the second filter is chosen.
QString batchFileFilter();
constexpr int kBatchFileFilterIndex = 2;

// FilterIndexByExtension as the main window fills it when it loads: the
// extension of each of the chooser's first four filters.
QHash<QString, int> filterIndexByExtension();
// The 1-based filter that a previous file name preselects: the table's
// index of what follows its first ".", or 1.
int editFilterIndex(const QHash<QString, int> &filterIndexByExtension, const QString &previousName);

} // namespace core
