#pragma once
#include <QString>
#include <QStringList>

class QWidget;

namespace ui {

// A file dialog as the program describes it: a filter string of
// "description|pattern|" pairs, a 1-based initial filter, an initial folder
// and a preset name.
struct FileDialogRequest {
    QString objectName;   // "dlgEditFileSelect" or "dlgCommonDialog"
    QString filter;
    int filterIndex = 1;
    QString initialDirectory;
    QString presetName;
    bool save = false;
    // An open dialog that also takes a name that does not exist yet (a save
    // dialog always does).
    bool anyName = false;
};

// The Qt name filters for a "description|pattern|" string: each is the
// description followed by its pattern in brackets, which the dialog hides,
// so the caption shows exactly as written. "*.*" stands for every file, as
// the program means it, names without a dot included.
QStringList qtNameFilters(const QString &filter);

// Shows the dialog modally and returns the chosen file's full path (with the
// system's separators), or an empty string when the user cancelled.
QString runFileDialog(QWidget *parent, const FileDialogRequest &request);

} // namespace ui
