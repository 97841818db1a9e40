#pragma once

#include <QObject>

class QLineEdit;

namespace kst {

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
