#pragma once

#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>

namespace kst::test {

// Text dragged from another program and dropped onto the left end of `target`.
inline void dropText(QLineEdit* target, const QString& text) {
    QMimeData mime;
    mime.setText(text);
    const QPoint at(1, target->height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

} // namespace kst::test
