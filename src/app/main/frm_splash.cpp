#include "app/main/frm_splash.h"

#include "app/main/pictures.h"
#include "platform/services.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace kst {

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), timer1_(new QTimer(this)) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Kestrelon"));
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgLogo"));
    picture->setPixmap(pictures::splash());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture);
    setFixedSize(picture->pixmap().size());
    setFocusPolicy(Qt::StrongFocus);

    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(1000);
    connect(timer1_, &QTimer::timeout, this, &frmSplash::Timer1_Timer);
}

void frmSplash::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    if (!ticked_)
        timer1_->start();
    activateWindow();
    setFocus();
}

void frmSplash::Timer1_Timer() {
    timer1_->stop();
    if (ticked_)
        return;
    ticked_ = true;
    // Hidden rather than closed before the load, so the application does not take the
    // splash for its last window and quit while the main window is still being built.
    hide();
    if (load_)
        load_();
    close();
}

void frmSplash::Form_KeyPress(int) {
    // The program ends without a main window.
    timer1_->stop();
    ticked_ = true;
    close();
    Platform::ender().endProgram();
}

void frmSplash::keyPressEvent(QKeyEvent* event) {
    // Shift, Ctrl and the like type nothing and leave the splash alone.
    if (event->text().isEmpty()) {
        QWidget::keyPressEvent(event);
        return;
    }
    Form_KeyPress(event->key());
    event->accept();
}

} // namespace kst
