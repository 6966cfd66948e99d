#include "app/timed_steps.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace kalvero {

void TTimedSteps::WaitFor(std::function<bool()> ready, std::function<void()> next) {
    if (FFinished)
        return;
    if (ready()) {
        next();
        return;
    }
    After(FPollMs, [this, ready = std::move(ready), next = std::move(next)]() mutable {
        WaitFor(std::move(ready), std::move(next));
    });
}

void TTimedSteps::After(int ms, std::function<void()> step) {
    QTimer::singleShot(ms, &FOwner, [this, step = std::move(step)] {
        if (!FFinished)
            step();
    });
}

bool TTimedSteps::MarkFinished() {
    if (FFinished)
        return false;
    FFinished = true;
    return true;
}

void QuitAfterSelfCheck(QWidget& mainWindow) {
    if (QWidget* modal = QApplication::activeModalWidget())
        modal->close();
    mainWindow.close();
    QCoreApplication::quit();
}

} // namespace kalvero
