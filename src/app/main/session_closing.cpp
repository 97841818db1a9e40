#include "app/main/session_closing.h"

#include "platform/desktop/desktop_services.h"
#include "platform/services.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace kst {

namespace {

// The window over the main window that closes next: the modal one on top of the others,
// else a tool window beside it.
QWidget* windowOver(const QWidget& main) {
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != &main)
        return modal;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = window->windowType();
        if (window != &main && window->isVisible() &&
            (type == Qt::Window || type == Qt::Dialog || type == Qt::Tool))
            return window;
    }
    return nullptr;
}

} // namespace

SessionClosing::SessionClosing(std::function<QWidget*()> mainWindow)
    : mainWindow_(std::move(mainWindow)), signals_([this] { begin(); }) {}

void SessionClosing::begin() {
    if (underWay_)
        return;
    underWay_ = true;
    closeNextWhenNoBoxWaits();
}

void SessionClosing::closeNextWhenNoBoxWaits() {
    whenNoBoxWaits([self = QPointer<SessionClosing>(this)] {
        if (self)
            self->closeNext();
    });
}

void SessionClosing::closeNext() {
    QWidget* main = mainWindow_();
    if (!main || !main->isVisible()) {
        underWay_ = false;
        Platform::ender().endProgram();
        return;
    }
    const QPointer<QWidget> over = windowOver(*main);
    if (!over) {
        underWay_ = false;
        main->close();
        return;
    }
    const bool modal = over->isModal();
    if (!over->close()) {
        underWay_ = false;
        return;
    }
    // A modal window's own event loop runs inside the command that opened it: the next
    // window closes once that command is over, as the user's next click would come.
    if (modal && over)
        connect(over, &QObject::destroyed, this, &SessionClosing::closeNextWhenNoBoxWaits,
                Qt::QueuedConnection);
    else
        QMetaObject::invokeMethod(this, &SessionClosing::closeNextWhenNoBoxWaits,
                                  Qt::QueuedConnection);
}

} // namespace kst
