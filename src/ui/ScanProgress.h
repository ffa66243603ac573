#pragma once
// The progress of a long scan of the source tree: folders read so far, and a
// Cancel that ends the scan. A quick scan never shows it.
#include <QElapsedTimer>
#include <QPointer>

class QProgressDialog;
class QWidget;

namespace ui {

class ScanProgress
{
public:
    // Shown once a scan has run this long.
    static constexpr int kShowAfterMs = 500;

    explicit ScanProgress(QWidget *owner);
    ~ScanProgress();
    ScanProgress(const ScanProgress &) = delete;
    ScanProgress &operator=(const ScanProgress &) = delete;

    // The scan's yield: lets waiting events run, shows the window once the
    // scan is slow, and answers whether the scan is to go on.
    bool operator()(int foldersListed);

private:
    QWidget *m_owner;
    QElapsedTimer m_started;
    QPointer<QProgressDialog> m_dialog;
    bool m_cancelled = false;
};

} // namespace ui
