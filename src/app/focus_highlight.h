#pragma once

#include <QObject>

class QLineEdit;

namespace kst {

// Selects the whole text of a field that has just taken the focus, once the click that
// gave it the focus has placed the caret (a mouse press would otherwise drop the selection).
void selectAllOnFocus(QLineEdit* field);

// An input field that turns yellow and selects all its text when it takes the focus,
// and turns white again when it loses it.
class FocusHighlight : public QObject {
    Q_OBJECT
public:
    // The highlight lives as long as the field.
    static void install(QLineEdit* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit FocusHighlight(QLineEdit* field);
};

} // namespace kst
