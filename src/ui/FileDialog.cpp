#include "ui/FileDialog.h"
#include "platform/NativePath.h"

#include <QDir>
#include <QFileDialog>

namespace ui {

QStringList qtNameFilters(const QString &filter)
{
    QStringList parts = filter.split(QLatin1Char('|'));
    if (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    QStringList result;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i];
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'));
        for (QString &p : patterns) {
            // Qt's "*.*" wants a dot in the name.
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
        }
        // The dialog is told to hide this last bracket, so that the caption
        // shows exactly as written, brackets of its own included.
        result << description + QLatin1String(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return result;
}

QString runFileDialog(QWidget *parent, const FileDialogRequest &request)
{
    QFileDialog dialog(parent);
    dialog.setObjectName(request.objectName);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save || request.anyName ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Replacing an existing batch file needs no question.
    if (request.save)
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = qtNameFilters(request.filter);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    dialog.setDirectory(platform::nativePath(request.initialDirectory));
    if (!request.presetName.isEmpty())
        dialog.selectFile(request.presetName);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : QDir::toNativeSeparators(files.first());
}

} // namespace ui
