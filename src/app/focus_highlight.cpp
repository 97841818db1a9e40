#include "focus_highlight.h"

#include "notation/view/bgr_color.h"

#include <QEvent>
#include <QLineEdit>

namespace kst {

namespace {

constexpr quint32 Yellow = 0xFFFF;
constexpr quint32 White = 0xFFFFFF;

void setBackground(QLineEdit* field, quint32 bgr) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, colorFromBgr(bgr));
    field->setPalette(palette);
}

} // namespace

FocusHighlight::FocusHighlight(QLineEdit* field) : QObject(field) {
    field->installEventFilter(this);
}

void FocusHighlight::install(QLineEdit* field) {
    new FocusHighlight(field);
}

bool FocusHighlight::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field && event->type() == QEvent::FocusIn) {
        setBackground(field, Yellow);
        // After the click that gave the focus has placed the caret.
        QMetaObject::invokeMethod(field, &QLineEdit::selectAll, Qt::QueuedConnection);
    } else if (field && event->type() == QEvent::FocusOut) {
        setBackground(field, White);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kst
