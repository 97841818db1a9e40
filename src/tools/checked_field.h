#pragma once

#include <QChar>
#include <QObject>
#include <functional>
#include <optional>

class QAbstractButton;
class QKeyEvent;
class QLineEdit;

namespace kst {

// An input field of a tool: yellow with its text selected while it has the focus, keys
// filtered, Enter taken, and a check when the focus leaves it that keeps the focus
// there when it fails. When the focus goes to the field's own button (the one that runs
// the same check before it acts), the check is left to that button, so one refusal is
// told once.
class CheckedField : public QObject {
    Q_OBJECT
public:
    struct Rules {
        // The character a typed key puts in, or nothing when the field drops it.
        std::function<std::optional<QChar>(QChar)> key;
        std::function<void()> enter;
        // The check on leaving: false keeps the focus in the field.
        std::function<bool()> validate;
        // What leaving does after a passed check.
        std::function<void()> lostFocus;
    };

    // `owner`: whose rules these are; the field's checks end with it.
    CheckedField(QLineEdit* field, QAbstractButton* ownButton, Rules rules, QObject* owner);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool keyPressed(QKeyEvent* event);
    void leave();

    QLineEdit* field_;
    QAbstractButton* ownButton_;
    Rules rules_;
    bool checking_ = false;
};

} // namespace kst
