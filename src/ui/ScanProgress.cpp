#include "ui/ScanProgress.h"
#include "core/StringTable.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace ui {
namespace {

// Captions of the string table: "Select libraries", "Cancel".
constexpr int kTitleId = 1033;
constexpr int kCancelId = 1012;

} // namespace

ScanProgress::ScanProgress(QWidget *owner) : m_owner(owner)
{
    m_started.start();
}

ScanProgress::~ScanProgress()
{
    delete m_dialog;
}

bool ScanProgress::operator()(int foldersListed)
{
    if (!m_dialog) {
        // Paint and timers only: input for other windows waits as well.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        // Asked after the events have run: where they took long, the scan
        // may not yield again before it ends.
        if (m_started.elapsed() < kShowAfterMs)
            return !m_cancelled;
        m_dialog = new QProgressDialog(m_owner);
        m_dialog->setObjectName(QStringLiteral("dlgScanProgress"));
        m_dialog->setWindowTitle(core::message(kTitleId));
        m_dialog->setCancelButtonText(core::message(kCancelId));
        // No end is known: a busy bar.
        m_dialog->setRange(0, 0);
        // Shown here, not by the dialog's own timer.
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->setWindowModality(Qt::ApplicationModal);
        QObject::connect(m_dialog, &QProgressDialog::canceled, m_dialog, [this] { m_cancelled = true; });
    }
    m_dialog->setLabelText(core::message(core::msg::kScanProgress).arg(foldersListed));
    // Sized by its text first, so that it is placed over the main window at
    // the size it shows.
    if (!m_dialog->isVisible())
        m_dialog->show();
    // Input too, for Cancel; the window is modal, so nothing else takes any.
    QCoreApplication::processEvents();
    return !m_cancelled;
}

} // namespace ui
