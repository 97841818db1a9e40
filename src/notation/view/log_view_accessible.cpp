#include "log_view_accessible.h"

#include "log_view.h"

#include <QAccessibleWidget>

namespace kst {

namespace {

// The log as assistive tools read it. Offsets are 32 bits, so a log longer than
// LogView::AccessibleChars shows its last part, from a line's start.
class LogViewAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit LogViewAccessible(LogView* view)
        : QAccessibleWidget(view, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.editable = false;
        s.multiLine = true;
        s.selectableText = true;
        s.focusable = true;
        return s;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return text(0, characterCount());
        return QAccessibleWidget::text(t);
    }

    // QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        if (selectionIndex != 0 || !view()->hasSelection())
            return;
        *startOffset = offsetOf(view()->selectionStart());
        *endOffset = offsetOf(view()->selectionEnd());
    }
    int selectionCount() const override { return view()->hasSelection() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int) override { view()->select(view()->caret(), view()->caret()); }
    void setSelection(int, int startOffset, int endOffset) override {
        view()->select(base() + startOffset, base() + endOffset);
    }
    int cursorPosition() const override { return offsetOf(view()->caret()); }
    void setCursorPosition(int position) override {
        view()->select(base() + position, base() + position);
    }
    QString text(int startOffset, int endOffset) const override {
        if (!view()->store())
            return QString();
        if (endOffset < 0)
            endOffset = characterCount();
        return view()->store()->text(base() + startOffset, base() + endOffset);
    }
    int characterCount() const override {
        return view()->store() ? int(view()->store()->length() - base()) : 0;
    }
    QRect characterRect(int offset) const override {
        const QRect rect = view()->characterRect(base() + offset);
        return rect.isNull() ? rect
                             : rect.translated(view()->viewport()->mapToGlobal(QPoint(0, 0)));
    }
    int offsetAtPoint(const QPoint& point) const override {
        return offsetOf(view()->positionAt(view()->viewport()->mapFromGlobal(point)));
    }
    void scrollToSubstring(int startIndex, int) override { view()->centerOn(base() + startIndex); }
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = offset;
        return QString();
    }

private:
    LogView* view() const { return static_cast<LogView*>(widget()); }
    qint64 base() const { return view()->accessibleBase(); }
    int offsetOf(qint64 position) const {
        return int(qBound<qint64>(0, position - base(), qint64(characterCount())));
    }
};

QAccessibleInterface* logViewInterface(const QString& className, QObject* object) {
    if (className == QLatin1String(LogView::staticMetaObject.className()) && object &&
        object->isWidgetType())
        return new LogViewAccessible(static_cast<LogView*>(object));
    return nullptr;
}

} // namespace

void installLogViewAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(logViewInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace kst
