#pragma once
// Waiting for modal windows.
//
// Waits for a modal window of type T to come up and hands it over, polling
// every 10 ms; gives up after `attempts` tries. The timer removes itself, so
// nothing outlives the wait.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

template <class T>
void whenModalShows(std::function<void(T *)> handle, int attempts = 200,
                    std::function<bool(T *)> ready = {})
{
    // Owned by the application, so a wait still running at exit is freed too.
    auto *timer = new QTimer(qApp);
    timer->setInterval(10);
    auto left = std::make_shared<int>(attempts);
    QObject::connect(timer, &QTimer::timeout, [timer, left, handle, ready] {
        auto *window = qobject_cast<T *>(QApplication::activeModalWidget());
        if (window && (!ready || ready(window))) {
            timer->stop();
            timer->deleteLater();
            handle(window);
        } else if (--*left <= 0) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

// Clicks `button`, which opens a modal dialog of type T, and runs `drive` on
// the dialog once it is up and active; a dialog that `drive` leaves open
// (a failed check) is rejected rather than left hanging. Returns how many
// such dialogs came up.
template <class T>
int clickAndDrive(QWidget *button, const std::function<void(T *)> &drive)
{
    int seen = 0;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        ++seen;
        dialog->activateWindow();
        if (QTest::qWaitForWindowActive(dialog))
            drive(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    poll.start();
    QTest::mouseClick(button, Qt::LeftButton);
    return seen;
}
