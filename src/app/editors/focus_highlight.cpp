#include "app/editors/focus_highlight.h"

#include "tools/tool_design.h"

#include <QEvent>
#include <QLineEdit>

namespace kst {

FocusHighlight::FocusHighlight(QLineEdit* field) : QObject(field) {
    field->installEventFilter(this);
}

void FocusHighlight::install(QLineEdit* field) {
    new FocusHighlight(field);
}

bool FocusHighlight::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field && event->type() == QEvent::FocusIn) {
        highlightField(field, true);
        selectAllOnFocus(field);
    } else if (field && event->type() == QEvent::FocusOut) {
        highlightField(field, false);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kst
