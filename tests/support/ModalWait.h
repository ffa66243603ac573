#pragma once
// Waits for a modal window of type T to come up and hands it over, polling
// every 10 ms; gives up after `attempts` tries. The timer removes itself, so
// nothing outlives the wait.
#include <QApplication>
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
