#include "ui/FileDialog.h"
#include "platform/NativePath.h"

#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QTreeView>

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

namespace {

// Once the chooser shows and has read its folder, its detail view shows
// every column whole (a file's name, its size, its type, its date) in the
// user's language and font: the columns take what their texts need, and the
// chooser grows to hold them, as far as the screen allows, staying centred
// where it was. It never shrinks.
void fitColumns(QFileDialog &dialog, QTreeView *details)
{
    if (!dialog.isVisible())
        return;
    QHeaderView *header = details->header();
    int needed = 0;
    for (int column = 0; column < header->count(); ++column) {
        if (header->isSectionHidden(column))
            continue;
        // (The tree view keeps its own measure protected; the item view's is public.)
        const int width = qMax(static_cast<const QAbstractItemView *>(details)->sizeHintForColumn(column),
                               header->sectionSizeHint(column));
        if (header->sectionSize(column) < width)
            header->resizeSection(column, width);
        needed += header->sectionSize(column);
    }
    // With the frame and the scroll bar around the columns.
    const int lacking = needed + 2 * details->frameWidth()
        + details->style()->pixelMetric(QStyle::PM_ScrollBarExtent) - details->width();
    if (lacking <= 0)
        return;
    const QRect screen = dialog.screen()->availableGeometry();
    const QRect was = dialog.frameGeometry();
    const int width = qMin(dialog.width() + lacking, screen.width() - (was.width() - dialog.width()));
    const int grown = width - dialog.width();
    dialog.resize(width, dialog.height());
    const int left = qBound(screen.left(), was.left() - grown / 2, screen.right() + 1 - (was.width() + grown));
    dialog.move(left, was.top());
}

} // namespace

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
    if (auto *details = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        // The folder is read by a thread of Qt's own, before or after the
        // chooser shows.
        if (auto *files = dialog.findChild<QFileSystemModel *>())
            QObject::connect(files, &QFileSystemModel::directoryLoaded, &dialog,
                             [&dialog, details] { fitColumns(dialog, details); });
        QTimer::singleShot(0, &dialog, [&dialog, details] { fitColumns(dialog, details); });
    }
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : QDir::toNativeSeparators(files.first());
}

} // namespace ui
